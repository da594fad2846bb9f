// The chosen mailbox's messages: date, sender, subject and whether each is
// read; the arrow keys move through them, each opened as it is reached.

import { element, byId } from './dom.js';

function row(message, chosen, onOpen) {
  const cells = [
    element('td', { className: 'state', text: message.read ? '' : '\u25CF',
                    attributes: { title: message.read ? 'Read' : 'Unread' } }),
    element('td', { className: 'from', text: message.from }),
    element('td', { className: 'date', text: message.date }),
    element('td', { className: 'subject', text: message.subject }),
  ];
  const made = element('tr', {
    className: message.read ? 'read' : 'unread',
    attributes: { 'data-message': message.number },
  }, cells);
  if (message.number === chosen) made.classList.add('chosen');
  made.addEventListener('click', () => onOpen(message.number));
  return made;
}

// Shows one page of the list ({name, total, first, messages}) with
// `chosen` marked; onPage(step) asks for the page before (-1) or after (1).
export function showMessageList(list, chosen, onOpen, onPage) {
  byId('message-list-title').textContent = `${list.name}: ${list.total} ` +
    (list.total === 1 ? 'message' : 'messages');
  const rows = byId('message-rows');
  rows.replaceChildren(...list.messages.map((message) => row(message, chosen, onOpen)));
  const hasEarlier = list.first > 0;
  const hasLater = list.first + list.messages.length < list.total;
  byId('message-pages').hidden = !hasEarlier && !hasLater;
  byId('earlier-messages').disabled = !hasEarlier;
  byId('later-messages').disabled = !hasLater;
  byId('earlier-messages').onclick = () => onPage(-1);
  byId('later-messages').onclick = () => onPage(1);
}

export function clearMessageList() {
  byId('message-list-title').textContent = 'No mailbox chosen';
  byId('message-rows').replaceChildren();
  byId('message-pages').hidden = true;
}

// The arrow keys in the list open the message above or below the chosen one.
export function onArrowKeys(openNeighbour) {
  byId('message-rows').addEventListener('keydown', (event) => {
    if (event.key !== 'ArrowDown' && event.key !== 'ArrowUp') return;
    event.preventDefault();
    openNeighbour(event.key === 'ArrowDown' ? 1 : -1);
  });
}

// The message numbers in the order shown.
export function shownMessageNumbers() {
  return [...byId('message-rows').querySelectorAll('tr')].map((tr) => Number(tr.dataset.message));
}
