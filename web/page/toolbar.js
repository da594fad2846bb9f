// A toolbar: its buttons at their places, each with its icon, its tooltip
// and its state; a drop-down button shows its arrow. A click is the
// button's command, which the host turns into what the toolbar's parent
// hears.

import { element } from './dom.js';
import { sendInput } from './window_input.js';

export class Toolbar {
  constructor(handle) {
    this.handle = handle;
    this.element = element('div', { className: 'control toolbar', attributes: { role: 'toolbar' } });
    this.client = this.element;
    this.element.addEventListener('mousedown', (event) => event.stopPropagation());
  }

  buttonElement(button) {
    if (button.command === 0) return element('div', { className: 'toolbar-separator' });
    const parts = [];
    if (button.icon) parts.push(element('img', { attributes: { src: `/api/icons/${button.icon}.svg`, alt: '' } }));
    if (button.dropdown) parts.push(element('span', { className: 'toolbar-arrow', text: '\u25BE' }));
    const made = element('button', {
      className: 'toolbar-button',
      attributes: { type: 'button', title: button.tooltip, 'aria-label': button.tooltip, 'data-command': button.command },
    }, parts);
    made.disabled = !button.enabled;
    made.addEventListener('click', () => sendInput({ kind: 'command', window: this.handle, command: button.command }));
    return made;
  }

  update(state) {
    this.element.replaceChildren(...state.toolbar.buttons.map((button) => {
      const made = this.buttonElement(button);
      Object.assign(made.style, {
        left: `${button.rect.left}px`,
        top: `${button.rect.top}px`,
        width: `${button.rect.right - button.rect.left}px`,
        height: `${button.rect.bottom - button.rect.top}px`,
      });
      return made;
    }));
  }
}
