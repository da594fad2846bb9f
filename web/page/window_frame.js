// The frame of a top-level window: its caption with its icon, text and
// caption buttons (the close box when it has one), its menu bar, the client
// area its children are drawn in, a grip to size a resizable window, and an
// overlay that takes the clicks while a modal window blocks it. Moving it
// by its caption and sizing it are shown at once and sent to the host when
// the mouse comes up (held to the window's tracking sizes there).

import { element } from './dom.js';
import { showMenuBar } from './window_menus.js';
import { sendInput } from './window_input.js';

const kCaptionHeight = 22;

function captionButton(className, label, onClick) {
  const button = element('button', {
    className: `caption-button ${className}`, attributes: { type: 'button', 'aria-label': label, title: label },
  });
  button.addEventListener('mousedown', (event) => event.stopPropagation());
  button.addEventListener('click', (event) => {
    event.stopPropagation();
    onClick();
  });
  return button;
}

function place(made, rect) {
  Object.assign(made.style, {
    left: `${rect.left}px`,
    top: `${rect.top}px`,
    width: `${rect.right - rect.left}px`,
    height: `${rect.bottom - rect.top}px`,
  });
}

// Follows a drag from `down` and calls onMove(dx, dy) as it goes and
// onEnd(dx, dy) when the button comes up.
function trackDrag(down, onMove, onEnd) {
  const delta = (event) => [event.clientX - down.clientX, event.clientY - down.clientY];
  const move = (event) => onMove(...delta(event));
  const up = (event) => {
    document.removeEventListener('mousemove', move, true);
    document.removeEventListener('mouseup', up, true);
    onEnd(...delta(event));
  };
  document.addEventListener('mousemove', move, true);
  document.addEventListener('mouseup', up, true);
}

function held(size, minimum, maximum) {
  let result = size;
  if (maximum > 0) result = Math.min(result, maximum);
  return Math.max(result, minimum > 0 ? minimum : 1);
}

export class WindowFrame {
  constructor(handle, onRaise) {
    this.handle = handle;
    this.state = null;
    const command = (name) => () => sendInput({ kind: 'system_command', window: handle, command: name });
    this.captionText = element('span', { className: 'caption-text' });
    this.captionIcon = element('img', { className: 'caption-icon', attributes: { alt: '' } });
    this.minimize = captionButton('minimize', 'Minimize', command('minimize'));
    this.maximize = captionButton('maximize', 'Maximize', command('maximize'));
    this.restore = captionButton('restore', 'Restore', command('restore'));
    this.close = captionButton('close', 'Close', command('close'));
    this.caption = element('div', { className: 'window-caption' }, [
      this.captionIcon, this.captionText, this.minimize, this.maximize, this.restore, this.close]);
    this.menuBar = element('div', { className: 'window-menu-bar', attributes: { role: 'menubar' } });
    this.client = element('div', { className: 'window-client' });
    this.overlay = element('div', { className: 'blocked-overlay' });
    this.grip = element('div', { className: 'resize-grip' });
    this.element = element('div', {
      className: 'window', attributes: { role: 'dialog', tabindex: '-1' },
    }, [this.caption, this.menuBar, this.client, this.grip, this.overlay]);
    this.onRaise = onRaise;
    this.caption.addEventListener('mousedown', (event) => this.startMove(event));
    this.grip.addEventListener('mousedown', (event) => this.startSize(event));
    this.overlay.addEventListener('mousedown', (event) => {
      event.stopPropagation();
      event.preventDefault();
    });
    this.menuBar.addEventListener('mousedown', (event) => event.stopPropagation());
  }

  sendRect(left, top, width, height) {
    sendInput({ kind: 'rect', window: this.handle, left, top, right: left + width, bottom: top + height });
  }

  startMove(event) {
    if (event.button !== 0 || !this.state) return;
    event.stopPropagation();
    event.preventDefault();
    this.onRaise(this.handle);
    this.element.focus({ preventScroll: true });
    const { rect } = this.state;
    const width = rect.right - rect.left;
    const height = rect.bottom - rect.top;
    trackDrag(event, (dx, dy) => {
      this.element.style.left = `${rect.left + dx}px`;
      this.element.style.top = `${rect.top + dy}px`;
    }, (dx, dy) => {
      if (dx !== 0 || dy !== 0) this.sendRect(rect.left + dx, rect.top + dy, width, height);
    });
  }

  startSize(event) {
    if (event.button !== 0 || !this.state) return;
    event.stopPropagation();
    event.preventDefault();
    const { rect, tracking } = this.state;
    const size = (dx, dy) => [
      held(rect.right - rect.left + dx, tracking.min_width, tracking.max_width),
      held(rect.bottom - rect.top + dy, tracking.min_height, tracking.max_height)];
    trackDrag(event, (dx, dy) => {
      const [width, height] = size(dx, dy);
      this.element.style.width = `${width}px`;
      this.element.style.height = `${height}px`;
    }, (dx, dy) => {
      if (dx !== 0 || dy !== 0) this.sendRect(rect.left, rect.top, ...size(dx, dy));
    });
  }

  update(state) {
    this.state = state;
    const has = (style) => state.style.includes(style);
    const minimized = state.show_state === 'minimized';
    place(this.element, state.rect);
    this.element.setAttribute('aria-label', state.text);
    this.caption.hidden = !has('caption');
    this.captionText.textContent = state.text;
    this.captionIcon.hidden = !state.icon;
    if (state.icon) this.captionIcon.setAttribute('src', `/api/icons/${state.icon}.svg`);
    this.close.hidden = !has('system_menu');
    this.minimize.hidden = !has('minimize_box') || minimized;
    this.maximize.hidden = !has('maximize_box') || state.show_state === 'maximized';
    this.restore.hidden = state.show_state === 'normal' || (!has('minimize_box') && !has('maximize_box'));
    this.menuBar.hidden = !state.menu_bar;
    if (state.menu_bar) {
      showMenuBar(this.menuBar, state.menu_bar,
        (command) => sendInput({ kind: 'command', window: this.handle, command }));
    }
    const border = state.client.left;
    const captionBottom = border + (has('caption') ? kCaptionHeight : 0);
    Object.assign(this.caption.style, { left: `${border}px`, right: `${border}px`, top: `${border}px` });
    Object.assign(this.menuBar.style, { left: `${border}px`, right: `${border}px`, top: `${captionBottom}px` });
    place(this.client, state.client);
    this.client.hidden = minimized;
    if (minimized) this.element.style.height = `${captionBottom + border}px`;
    this.grip.hidden = !has('resizable') || state.show_state !== 'normal';
    this.overlay.hidden = !state.blocked;
    this.element.classList.toggle('blocked', state.blocked);
  }
}
