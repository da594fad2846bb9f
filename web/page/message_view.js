// The opened message: its main header fields as text, its body in a
// sandboxed frame (no scripts, an origin of its own) served with a policy
// that allows no scripts either, and the plug-in's translators, whose
// click carries the Ctrl and Shift keys held.

import { element, byId, webLink } from './dom.js';

// X-Attachments names the files a composed message carries.
const kShownFields = ['From', 'Date', 'Subject', 'Website', 'X-Attachments'];

function fieldValue(name, value) {
  if (name !== 'Website') return document.createTextNode(value);
  return webLink(value) || document.createTextNode(value);
}

function showHeaders(headers) {
  const list = byId('message-headers');
  list.replaceChildren();
  for (const name of kShownFields) {
    const field = headers.find((header) => header.name.toLowerCase() === name.toLowerCase());
    if (!field) continue;
    list.append(element('dt', { text: name }), element('dd', {}, [fieldValue(name, field.value)]));
  }
}

function showTranslators(translators, onTranslate) {
  const tools = byId('message-tools');
  tools.replaceChildren(...translators.map((translator) => {
    const button = element('button', {
      text: translator.description,
      attributes: {
        type: 'button',
        title: 'Hold Ctrl to put the whole page into the message; Ctrl and Shift for plain text',
      },
    });
    button.addEventListener('click', (event) =>
      onTranslate(translator.id, event.ctrlKey, event.shiftKey));
    return button;
  }));
}

// Shows the message ({headers, body}) and the translators the host offers.
export function showMessage(message, translators, onTranslate) {
  byId('message-view').hidden = false;
  showHeaders(message.headers);
  showTranslators(translators, onTranslate);
  const frame = byId('message-body');
  if (frame.getAttribute('src') !== message.body) frame.setAttribute('src', message.body);
}

export function clearMessage() {
  byId('message-view').hidden = true;
  byId('message-body').removeAttribute('src');
}
