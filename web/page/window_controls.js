// The simple controls of the plug-in's windows, each drawn from its state:
// labels, icons, group boxes, buttons, check boxes, edits, drop-down lists,
// progress bars, browser controls and rich text. Their mouse input is the window system's
// (windows.js sends it); an edit sends what is typed into it, and takes the
// text back when the window system changed it (a digits-only edit keeps the
// digits); a drop-down list sends the item picked.

import { element } from './dom.js';
import { accessKeyNodes, withoutAccessKeys } from './access_keys.js';
import { sendInput } from './window_input.js';

// A control whose element is made once and filled by `fill` on each change.
class SimpleControl {
  constructor(handle, tag, className, attributes, fill) {
    this.handle = handle;
    this.element = element(tag, { className: `control ${className}`, attributes: { tabindex: '-1', ...attributes } });
    this.client = this.element;
    this.fill = fill;
  }

  update(state) {
    this.fill(this.element, state);
  }
}

function iconSource(iconId) {
  return `/api/icons/${iconId}.svg`;
}

function fillLabel(made, state) {
  const noPrefix = state.style.includes('no_prefix');
  made.replaceChildren(...(noPrefix ? [document.createTextNode(state.text)] : accessKeyNodes(state.text)));
  made.classList.toggle('centered', state.style.includes('center'));
  made.classList.toggle('right-aligned', state.style.includes('right'));
  made.classList.toggle('notify', state.style.includes('notify'));
}

function fillIcon(made, state) {
  if (state.icon) made.setAttribute('src', iconSource(state.icon));
  else made.removeAttribute('src');
}

function fillGroupBox(made, state) {
  made.replaceChildren(element('span', { className: 'group-caption' }, accessKeyNodes(state.text)));
}

function fillButton(made, state) {
  made.replaceChildren(...accessKeyNodes(state.text));
  made.setAttribute('aria-label', withoutAccessKeys(state.text));
  made.classList.toggle('default-button', state.style.includes('default_button'));
  made.classList.toggle('flat', state.style.includes('flat'));
  made.disabled = !state.enabled;
}

function fillCheckBox(made, state) {
  const pushLike = state.style.includes('push_like');
  made.setAttribute('role', pushLike ? 'button' : 'checkbox');
  made.setAttribute(pushLike ? 'aria-pressed' : 'aria-checked', String(state.checked));
  made.setAttribute('aria-label', withoutAccessKeys(state.text));
  made.classList.toggle('push-like', pushLike);
  made.replaceChildren(element('span', { className: 'check-mark', text: state.checked ? '\u2713' : '' }),
    element('span', {}, accessKeyNodes(state.text)));
}

function fillProgress(made, state) {
  made.setAttribute('aria-valuenow', String(state.progress));
  made.replaceChildren(element('div', { className: 'progress-done' }));
  made.firstChild.style.width = `${state.progress}%`;
}

function fillRichText(made, state) {
  if (made.value !== state.text) made.value = state.text;
}

// Typing runs ahead of the window system's echoes by one text a key: an
// edit remembers this many texts not yet seen back, so that a long name
// typed quickly is not taken back by the echo of its first letters.
const kMostTextsAhead = 1000;

class Edit {
  constructor(handle, multiline) {
    this.handle = handle;
    this.element = element(multiline ? 'textarea' : 'input', {
      className: 'control edit', attributes: multiline ? { tabindex: '-1' } : { type: 'text', tabindex: '-1' },
    });
    this.client = this.element;
    this.digitsOnly = false;
    // The window system's last text, then the texts sent and not yet seen
    // back: a state drawn before the first key arrived still holds the
    // first. The window system's own text is any other.
    this.sent = [];
    this.element.addEventListener('input', () => this.typed());
  }

  typed() {
    // The window system keeps only the digits of a digits-only edit.
    if (this.digitsOnly) this.element.value = this.element.value.replace(/[^0-9]/g, '');
    this.sent = [...this.sent.slice(1 - kMostTextsAhead), this.element.value];
    sendInput({ kind: 'text', window: this.handle, text: this.element.value });
  }

  update(state) {
    this.element.readOnly = state.style.includes('read_only');
    this.element.disabled = !state.enabled;
    this.digitsOnly = state.style.includes('digits_only');
    if (this.digitsOnly) this.element.setAttribute('inputmode', 'numeric');
    const echo = this.sent.lastIndexOf(state.text);
    if (echo >= 0) {
      this.sent = this.sent.slice(echo);
      return;
    }
    this.sent = [state.text];
    if (this.element.value !== state.text) this.element.value = state.text;
  }
}

// A drop-down list as a <select>: the person's pick goes to the window
// system, which tells the list's parent; the choice shown is always the
// window system's.
class DropDown {
  constructor(handle) {
    this.handle = handle;
    this.element = element('select', { className: 'control drop-down', attributes: { tabindex: '-1' } });
    this.client = this.element;
    this.items = '[]';
    this.element.addEventListener('change', () => {
      sendInput({ kind: 'select', window: this.handle, index: this.element.selectedIndex });
    });
  }

  update(state) {
    const { items, selection } = state.drop_down;
    this.element.disabled = !state.enabled;
    const shown = JSON.stringify(items);
    if (shown !== this.items) {
      this.items = shown;
      this.element.replaceChildren(...items.map((item) => element('option', { text: item })));
    }
    this.element.selectedIndex = selection;
  }
}

// The HTML of a browser control runs nothing: its frame has neither scripts
// nor the page's origin, may open no window and lead the page nowhere, and
// its address answers with a policy of its own. Its links lead to tavi-host,
// which hands the click to the control and answers with no content, so the
// frame keeps its document until the control's text changes.
class Browser {
  constructor(handle) {
    this.handle = handle;
    this.element = element('iframe', {
      className: 'control browser',
      attributes: { sandbox: '', referrerpolicy: 'no-referrer', title: 'Browser' },
    });
    this.client = this.element;
    this.shownText = null;
    this.loads = 0;
    // A frame told to load a document while its last one is still on its
    // way may end on neither: the next address waits for that one's load.
    this.loading = false;
    this.waiting = null;
    this.element.addEventListener('load', () => {
      this.loading = false;
      const next = this.waiting;
      this.waiting = null;
      if (next) this.load(next);
    });
  }

  load(address) {
    this.loading = true;
    this.element.setAttribute('src', address);
  }

  update(state) {
    if (state.text === this.shownText) return;
    this.shownText = state.text;
    this.loads += 1;
    const address = `/window-html/${this.handle}?load=${this.loads}`;
    if (this.loading) this.waiting = address;
    else this.load(address);
  }
}

const kSimpleControls = {
  label: ['div', 'label', {}, fillLabel],
  icon: ['img', 'icon', { alt: '' }, fillIcon],
  group_box: ['div', 'group-box', { role: 'group' }, fillGroupBox],
  button: ['button', 'button', { type: 'button' }, fillButton],
  check_box: ['div', 'check-box', {}, fillCheckBox],
  progress_bar: ['div', 'progress-bar', { role: 'progressbar', 'aria-valuemin': '0', 'aria-valuemax': '100' }, fillProgress],
  rich_text: ['textarea', 'rich-text', { readonly: '' }, fillRichText],
};

// The view of a simple control of `state.kind`; null for any other kind.
export function simpleControlView(state) {
  if (state.kind === 'edit') return new Edit(state.handle, state.style.includes('multiline'));
  if (state.kind === 'browser') return new Browser(state.handle);
  if (state.kind === 'drop_down') return new DropDown(state.handle);
  const simple = kSimpleControls[state.kind];
  if (!simple) return null;
  const [tag, className, attributes, fill] = simple;
  return new SimpleControl(state.handle, tag, className, attributes, fill);
}
