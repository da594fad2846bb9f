// A tree view: its items in display order, indented by depth, those inside
// collapsed items left out; a button beside each item with children
// expands or collapses it.

import { element } from './dom.js';
import { sendInput } from './window_input.js';

const kIndent = 16;

// The items a person sees: none inside a collapsed item.
function shownItems(items) {
  const shown = [];
  let hiddenBelow = Infinity;
  for (const item of items) {
    if (item.depth > hiddenBelow) continue;
    hiddenBelow = item.expanded ? Infinity : item.depth;
    shown.push(item);
  }
  return shown;
}

export class TreeView {
  constructor(handle) {
    this.handle = handle;
    this.element = element('div', { className: 'control tree-view', attributes: { role: 'tree', tabindex: '-1' } });
    this.client = this.element;
    this.element.addEventListener('mousedown', (event) => event.stopPropagation());
  }

  itemElement(item, images) {
    const expander = element('button', {
      className: 'tree-expander',
      text: item.expanded ? '\u2212' : '+',
      attributes: { type: 'button', tabindex: '-1', 'aria-label': item.expanded ? 'Collapse' : 'Expand' },
    });
    expander.style.visibility = item.has_children ? 'visible' : 'hidden';
    expander.addEventListener('click', (event) => {
      event.stopPropagation();
      sendInput({ kind: 'tree_expand', window: this.handle, item: item.item, expand: !item.expanded });
    });
    const iconId = images[item.selected ? item.selected_image : item.image];
    const parts = [expander];
    if (iconId) parts.push(element('img', { className: 'row-image', attributes: { src: `/api/icons/${iconId}.svg`, alt: '' } }));
    parts.push(element('span', { className: 'tree-text', text: item.text }));
    const made = element('div', {
      className: 'tree-item',
      attributes: { role: 'treeitem', 'data-item': item.item, 'aria-selected': String(item.selected) },
    }, parts);
    if (item.has_children) made.setAttribute('aria-expanded', String(item.expanded));
    made.classList.toggle('selected', item.selected);
    made.style.paddingLeft = `${item.depth * kIndent}px`;
    const click = (event, kind) => {
      event.stopPropagation();
      sendInput({ kind: 'tree_click', window: this.handle, item: item.item, click: kind });
    };
    made.addEventListener('click', (event) => click(event, event.detail >= 2 ? 'double' : 'left'));
    made.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      click(event, 'right');
    });
    return made;
  }

  update(state) {
    const tree = state.tree_view;
    this.element.replaceChildren(...shownItems(tree.items).map((item) => this.itemElement(item, tree.images)));
  }
}
