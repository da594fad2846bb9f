// Message boxes and popup menus that wait for the person: each drawn over
// the windows until it is answered, the answer sent to the host. They stay
// until the host no longer lists them, so a page opened later shows what
// still waits.

import { element, byId } from './dom.js';
import { accessKeyNodes, withoutAccessKeys } from './access_keys.js';
import { menuList } from './window_menus.js';
import { sendInput } from './window_input.js';

const kCancel = 2;
const kIcons = { error: '\u2716', question: '?', warning: '!', information: 'i' };

const shownBoxes = new Map();   // id -> element
const shownPopups = new Map();  // id -> element

function answerBox(box, answer) {
  sendInput({ kind: 'message_box', id: box.id, answer });
}

// Escape is Cancel, or OK in a box that has nothing else.
function escapeAnswer(box) {
  if (box.buttons.some((button) => button.answer === kCancel)) return kCancel;
  return box.buttons.length === 1 ? box.buttons[0].answer : 0;
}

function boxElement(box) {
  const buttons = box.buttons.map((button) => {
    const made = element('button', {
      attributes: { type: 'button', 'aria-label': withoutAccessKeys(button.text) },
    }, accessKeyNodes(button.text));
    made.addEventListener('click', () => answerBox(box, button.answer));
    if (button.answer === box.default_answer) made.classList.add('default-button');
    return made;
  });
  const made = element('div', {
    className: 'message-box',
    attributes: { role: 'alertdialog', 'aria-modal': 'true', 'aria-label': box.caption, 'data-box': box.id },
  }, [
    element('div', { className: 'window-caption' }, [element('span', { className: 'caption-text', text: box.caption })]),
    element('div', { className: 'message-box-body' }, [
      element('span', { className: `message-box-icon ${box.icon}`, text: kIcons[box.icon] || '' }),
      element('p', { className: 'message-box-text', text: box.text }),
    ]),
    element('div', { className: 'message-box-buttons' }, buttons),
  ]);
  made.addEventListener('keydown', (event) => {
    event.stopPropagation();
    if (event.key === 'Escape' && escapeAnswer(box)) answerBox(box, escapeAnswer(box));
  });
  return made;
}

// Over the owner's window when the page draws it, else in the middle.
function placeBox(made, ownerElement) {
  const area = ownerElement ? ownerElement.getBoundingClientRect()
    : { left: 0, top: 0, width: window.innerWidth, height: window.innerHeight };
  const box = made.getBoundingClientRect();
  made.style.left = `${Math.max(0, area.left + (area.width - box.width) / 2)}px`;
  made.style.top = `${Math.max(0, area.top + (area.height - box.height) / 3)}px`;
}

// Shows the boxes that wait ([{id, owner, caption, text, icon, buttons,
// default_answer}]); elementOf(handle) is the element of a drawn window.
export function showMessageBoxes(boxes, elementOf) {
  const layer = byId('desktop');
  const waiting = new Set(boxes.map((box) => box.id));
  for (const [id, made] of shownBoxes) {
    if (!waiting.has(id)) {
      made.remove();
      shownBoxes.delete(id);
    }
  }
  for (const box of boxes) {
    if (shownBoxes.has(box.id)) continue;
    const made = boxElement(box);
    layer.append(made);
    placeBox(made, elementOf(box.owner));
    shownBoxes.set(box.id, made);
    made.querySelector('.default-button')?.focus();
  }
}

function popupElement(popup) {
  const answer = (command) => sendInput({ kind: 'popup_menu', id: popup.id, command });
  const list = menuList(popup.items, answer);
  list.classList.add('popup-menu');
  list.style.left = `${popup.x}px`;
  list.style.top = `${popup.y}px`;
  // A click anywhere else, or Escape, dismisses the menu.
  const backdrop = element('div', { className: 'popup-backdrop', attributes: { 'data-popup': popup.id } }, [list]);
  backdrop.addEventListener('mousedown', (event) => {
    if (event.target === backdrop) answer(0);
  });
  backdrop.addEventListener('contextmenu', (event) => event.preventDefault());
  backdrop.addEventListener('keydown', (event) => {
    event.stopPropagation();
    if (event.key === 'Escape') answer(0);
  });
  return backdrop;
}

// Shows the popup menus that wait ([{id, owner, x, y, items}]).
export function showPopupMenus(popups) {
  const layer = byId('desktop');
  const waiting = new Set(popups.map((popup) => popup.id));
  for (const [id, made] of shownPopups) {
    if (!waiting.has(id)) {
      made.remove();
      shownPopups.delete(id);
    }
  }
  for (const popup of popups) {
    if (shownPopups.has(popup.id)) continue;
    const made = popupElement(popup);
    layer.append(made);
    shownPopups.set(popup.id, made);
    made.querySelector('.menu-entry:not([disabled])')?.focus();
  }
}
