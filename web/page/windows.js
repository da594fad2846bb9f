// The plug-in's windows, drawn from the window system's snapshot: one
// generic renderer for every window. Each top-level window is a panel at
// its place on the screen, each child drawn inside its parent's client area
// at its rectangle, by its kind. The host says "windows" when anything
// changed; the page then asks for what changed since the version it holds
// and redraws only the windows whose version rose.
//
// Mouse buttons pressed on a window go to the window system as they happen
// (with the moves until the button comes up), keys to its focus; the
// controls with input of their own (lists, trees, toolbars, edits, menus)
// send theirs.

import { getJson, coalesced } from './api.js';
import { byId } from './dom.js';
import { ListView } from './list_view.js';
import { TreeView } from './tree_view.js';
import { Toolbar } from './toolbar.js';
import { WindowFrame } from './window_frame.js';
import { simpleControlView } from './window_controls.js';
import { closeMenuBars } from './window_menus.js';
import { withoutAccessKeys } from './access_keys.js';
import { showMessageBoxes, showPopupMenus } from './message_boxes.js';
import {
  sendInput, modifiersOf, clientPoint, virtualKey, isWindowsKey, followDrag, isDragging,
} from './window_input.js';

const model = {
  version: 0,
  order: [],
  states: new Map(),  // handle -> the window's state
  boxes: [],
  popups: [],
  capture: 0,
  hostBlocked: false,
};

const views = new Map();  // handle -> {view, kind, version}
let raised = 0;           // a window raised by its caption, until the host's order says otherwise

// A plain child window with nothing in it and no text is what a drag shows
// (a splitter bar's feedback): drawn as an outline.
function isDragOutline(state, hasChildren) {
  return state.kind === 'window' && state.parent !== 0 && !hasChildren && state.text === '';
}

class PlainWindow {
  constructor(handle) {
    this.handle = handle;
    this.element = document.createElement('div');
    this.element.className = 'control plain-window';
    this.client = this.element;
  }

  update() {}
}

function makeView(state) {
  if (state.parent === 0) return new WindowFrame(state.handle, raiseLocally);
  switch (state.kind) {
    case 'list_view': return new ListView(state.handle);
    case 'tree_view': return new TreeView(state.handle);
    case 'toolbar': return new Toolbar(state.handle);
    default: return simpleControlView(state) || new PlainWindow(state.handle);
  }
}

function raiseLocally(handle) {
  raised = handle;
  drawOrder();
}

function place(made, rect) {
  Object.assign(made.style, {
    left: `${rect.left}px`,
    top: `${rect.top}px`,
    width: `${rect.right - rect.left}px`,
    height: `${rect.bottom - rect.top}px`,
  });
}

function childrenByParent() {
  const children = new Map();
  for (const handle of model.order) {
    const parent = model.states.get(handle).parent;
    if (!children.has(parent)) children.set(parent, []);
    children.get(parent).push(handle);
  }
  return children;
}

function viewOf(state) {
  const kind = `${state.parent === 0 ? 'top' : 'child'}:${state.kind}`;
  let entry = views.get(state.handle);
  if (entry && entry.kind === kind) return entry;
  if (entry) entry.view.element.remove();
  entry = { view: makeView(state), kind, version: -1 };
  entry.view.element.dataset.handle = state.handle;
  views.set(state.handle, entry);
  return entry;
}

function drawWindow(state, children) {
  const entry = viewOf(state);
  const made = entry.view.element;
  const container = state.parent === 0 ? byId('desktop') : views.get(state.parent).view.client;
  if (made.parentNode !== container) container.append(made);
  made.classList.toggle('drag-outline', isDragOutline(state, children.has(state.handle)));
  if (entry.version === state.version) return;
  entry.version = state.version;
  if (state.parent !== 0) place(made, state.rect);
  made.hidden = !state.visible;
  made.classList.toggle('disabled', !state.enabled);
  made.classList.toggle('focused', state.focused);
  made.setAttribute('aria-disabled', String(!state.enabled));
  made.style.cursor = state.cursor;
  entry.view.update(state);
}

// Siblings are listed topmost first; the topmost is drawn over the others.
function drawOrder() {
  for (const siblings of childrenByParent().values()) {
    siblings.forEach((handle, index) => {
      const bonus = handle === raised ? siblings.length : 0;
      views.get(handle).view.element.style.zIndex = String(siblings.length - index + bonus);
    });
  }
}

// A control that a person types into or chooses from shows no text of its
// own: it is named by the label or group box listed just before it, the one
// whose access key leads to it.
const kNamedByLabel = new Set(['edit', 'list_view', 'tree_view', 'drop_down']);
const kLabels = new Set(['label', 'group_box']);

function labelText(state) {
  return state.style.includes('no_prefix') ? state.text : withoutAccessKeys(state.text);
}

function nameByLabels(children) {
  for (const siblings of children.values()) {
    siblings.forEach((handle, index) => {
      const state = model.states.get(handle);
      if (!kNamedByLabel.has(state.kind)) return;
      const before = index > 0 ? model.states.get(siblings[index - 1]) : null;
      const name = before && kLabels.has(before.kind) ? labelText(before) : '';
      const made = views.get(handle).view.element;
      if (name && made.getAttribute('aria-label') !== name) made.setAttribute('aria-label', name);
      else if (!name) made.removeAttribute('aria-label');
    });
  }
}

function forgetGoneWindows() {
  const present = new Set(model.order);
  for (const [handle, entry] of views) {
    if (present.has(handle)) continue;
    entry.view.element.remove();
    views.delete(handle);
  }
}

function topLevelOf(handle) {
  let state = model.states.get(handle);
  while (state && state.parent !== 0) state = model.states.get(state.parent);
  return state ? state.handle : 0;
}

// The page's focus follows the window system's within the window the person
// works in (Tab moved it, a dialog set it), so that typing reaches the edit.
function followFocus() {
  const active = document.activeElement;
  for (const state of model.states.values()) {
    if (!state.focused) continue;
    const panel = views.get(topLevelOf(state.handle));
    const focused = views.get(state.handle).view.element;
    if (panel && panel.view.element.contains(active) && active !== focused) focused.focus({ preventScroll: true });
  }
}

function drawCapture() {
  const shield = byId('capture-shield');
  const capture = model.capture && model.states.get(model.capture);
  shield.hidden = !capture;
  shield.style.cursor = capture ? capture.cursor : '';
}

function draw() {
  const children = childrenByParent();
  for (const handle of model.order) drawWindow(model.states.get(handle), children);
  forgetGoneWindows();
  nameByLabels(children);
  if (!model.order.includes(raised)) raised = 0;
  drawOrder();
  followFocus();
  drawCapture();
  byId('host-blocked').hidden = !model.hostBlocked;
  const elementOf = (handle) => views.get(handle)?.view.element;
  showMessageBoxes(model.boxes, elementOf);
  showPopupMenus(model.popups);
}

function merge(changes) {
  model.version = changes.version;
  model.order = changes.order;
  for (const state of changes.windows) model.states.set(state.handle, state);
  const present = new Set(model.order);
  for (const handle of model.states.keys()) if (!present.has(handle)) model.states.delete(handle);
  Object.assign(model, {
    boxes: changes.message_boxes,
    popups: changes.popup_menus,
    capture: changes.capture,
    hostBlocked: changes.host_blocked,
  });
}

// The top-level windows, topmost first.
function topLevelOrder() {
  return model.order.filter((handle) => model.states.get(handle).parent === 0).join();
}

// Fetches what changed since the version held, and draws it. A window the
// person raised by its caption gives way once the host's order changes: a
// dialog it opened comes up over it.
export const refreshWindows = coalesced(async () => {
  const answer = await getJson(`/api/windows?since=${model.version}`);
  if (!answer.ok) return;
  const before = topLevelOrder();
  merge(answer.data);
  if (topLevelOrder() !== before) raised = 0;
  draw();
});

// After the stream was lost, anything may have changed: everything again.
export function redrawWindows() {
  model.version = 0;
  refreshWindows();
}

function sendMouseDown(event, handle) {
  const { client } = views.get(handle).view;
  const right = event.button === 2;
  const action = right ? 'right_down' : (event.detail === 2 ? 'left_double' : 'left_down');
  sendInput({ kind: 'mouse', window: handle, action, ...clientPoint(event, client), ...modifiersOf(event) });
  followDrag(event, handle, client, right ? 'right_up' : 'left_up');
}

function pressed(event) {
  const target = event.target.closest('[data-handle]');
  if (!target || (event.button !== 0 && event.button !== 2)) return;
  const handle = Number(target.dataset.handle);
  raised = 0;
  if (!event.target.matches('input, textarea, select')) {
    event.preventDefault();
    views.get(handle).view.element.focus({ preventScroll: true });
  }
  sendMouseDown(event, handle);
}

// The window system's focus when it is in the window the person works in,
// else that window.
function keyTarget(event) {
  const panel = event.target.closest('.window');
  const top = panel ? Number(panel.dataset.handle) : 0;
  for (const state of model.states.values()) {
    if (state.focused && topLevelOf(state.handle) === top) return state.handle;
  }
  return top;
}

function keyed(event, down) {
  if (!event.target.closest('.window')) return;
  const key = virtualKey(event);
  if (!key) return;
  const inText = event.target.matches('input, textarea, select');
  if (inText && !isWindowsKey(event) && !event.ctrlKey && !event.altKey) return;
  event.preventDefault();
  sendInput({ kind: 'key', window: keyTarget(event), key, down, ...modifiersOf(event) });
}

// While a window holds the mouse, the shield over the page shows its cursor
// and takes the mouse for it.
function setUpCaptureShield() {
  const shield = byId('capture-shield');
  const capture = () => views.get(model.capture)?.view;
  shield.addEventListener('mousedown', (event) => {
    event.preventDefault();
    if (capture()) sendMouseDown(event, model.capture);
  });
  shield.addEventListener('mousemove', (event) => {
    if (isDragging() || !capture()) return;
    sendInput({ kind: 'mouse', window: model.capture, action: 'move', ...clientPoint(event, capture().client), ...modifiersOf(event) });
  });
  shield.addEventListener('contextmenu', (event) => event.preventDefault());
}

// Opens a web address the plug-in asked the shell for, in a new tab, when
// it is one; anything else is not opened.
export function openAddress({ url }) {
  let address;
  try {
    // A help page comes as a path of this page's own address.
    address = new URL(url, window.location.origin);
  } catch {
    return;
  }
  if (address.protocol === 'http:' || address.protocol === 'https:') window.open(address.href, '_blank', 'noopener');
}

export function setUpWindows() {
  const layer = byId('desktop');
  document.addEventListener('mousedown', closeMenuBars);
  layer.addEventListener('mousedown', pressed);
  layer.addEventListener('contextmenu', (event) => {
    if (event.target.closest('[data-handle]')) event.preventDefault();
  });
  layer.addEventListener('keydown', (event) => keyed(event, true));
  layer.addEventListener('keyup', (event) => keyed(event, false));
  setUpCaptureShield();
}
