// A person's input for the plug-in's windows, sent to the host in the
// order it happens: one request at a time, so that a button goes down
// before it goes up; mouse moves and typed text waiting behind a request
// are coalesced to the latest. The host refuses input for a window that
// cannot take it (gone, disabled, blocked); that is no problem of the page.

import { postJson } from './api.js';

const queue = [];
let sending = false;

// Later moves of the same window replace a waiting one, and later text of
// the same edit replaces waiting text: only the latest matters.
function replacesWaiting(input) {
  const last = queue[queue.length - 1];
  return last && last.window === input.window && last.kind === input.kind &&
    (input.kind === 'text' || (input.kind === 'mouse' && input.action === 'move' &&
      last.action === 'move'));
}

async function sendWaiting() {
  if (sending) return;
  sending = true;
  try {
    while (queue.length > 0) {
      const input = queue.shift();
      try {
        await postJson('/api/input', input);
      } catch {
        // The host went away; the page's connection notice says so.
      }
    }
  } finally {
    sending = false;
  }
}

export function sendInput(input) {
  if (replacesWaiting(input)) queue[queue.length - 1] = input;
  else queue.push(input);
  sendWaiting();
}

export function modifiersOf(event) {
  return { shift: event.shiftKey, ctrl: event.ctrlKey, alt: event.altKey };
}

// A point of `event` in the client area whose box on the page is `client`.
export function clientPoint(event, client) {
  const box = client.getBoundingClientRect();
  return { x: Math.round(event.clientX - box.left), y: Math.round(event.clientY - box.top) };
}

const kNamedKeys = {
  Backspace: 0x08, Tab: 0x09, Enter: 0x0D, Escape: 0x1B, ' ': 0x20, PageUp: 0x21,
  PageDown: 0x22, End: 0x23, Home: 0x24, ArrowLeft: 0x25, ArrowUp: 0x26, ArrowRight: 0x27,
  ArrowDown: 0x28, Insert: 0x2D, Delete: 0x2E,
};

// The virtual key of a keyboard event; 0 for a key the windows do not take
// (the modifier keys themselves travel as modifiers).
export function virtualKey(event) {
  if (kNamedKeys[event.key] !== undefined) return kNamedKeys[event.key];
  const fkey = /^F([1-9]|1[0-2])$/.exec(event.key);
  if (fkey) return 0x70 + Number(fkey[1]) - 1;
  const code = /^(Key([A-Z])|Digit([0-9]))$/.exec(event.code || '');
  if (code) return (code[2] || code[3]).charCodeAt(0);
  return 0;
}

// Keys the browser would take for itself (moving its focus, its help, its
// context menu) that belong to the windows.
export function isWindowsKey(event) {
  return event.key === 'Tab' || event.key === 'F1' || event.key === 'Enter' ||
    event.key === 'Escape' || (event.key === 'F10' && event.shiftKey);
}

// Follows the mouse after a button went down on `window` (whose client
// area's box is `client`) until it comes up: every move and the release
// go to the same window, as the window system routes them (a splitter
// bar's drag).
let drags = 0;

// True while a button pressed on a window is held.
export function isDragging() {
  return drags > 0;
}

export function followDrag(downEvent, window, client, upAction) {
  drags += 1;
  const send = (action, event) => sendInput({
    kind: 'mouse', window, action, ...clientPoint(event, client), ...modifiersOf(event),
  });
  const move = (event) => send('move', event);
  const up = (event) => {
    if (event.button !== downEvent.button) return;
    document.removeEventListener('mousemove', move, true);
    document.removeEventListener('mouseup', up, true);
    drags -= 1;
    send(upAction, event);
  };
  document.addEventListener('mousemove', move, true);
  document.addEventListener('mouseup', up, true);
}
