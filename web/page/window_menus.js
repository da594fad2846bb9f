// Menus of the plug-in's windows: a window's menu bar with its drop-down
// menus, and the popup menus that wait for the person's choice. Entries
// show their states (disabled, checked), separators, access keys and
// shortcuts; a submenu opens beside its entry.

import { element } from './dom.js';
import { accessKeyNodes, menuEntryParts, withoutAccessKeys } from './access_keys.js';

function entryItem(item, onCommand) {
  if (item.separator) return element('li', { className: 'menu-separator', attributes: { role: 'separator' } });
  const { label, shortcut } = menuEntryParts(item.text);
  const button = element('button', {
    className: 'menu-entry',
    attributes: {
      type: 'button',
      role: item.checked ? 'menuitemcheckbox' : 'menuitem',
      'aria-label': withoutAccessKeys(label),
    },
  }, [
    element('span', { className: 'menu-check', text: item.checked ? '\u2713' : '' }),
    element('span', { className: 'menu-label' }, accessKeyNodes(label)),
    element('span', { className: 'menu-shortcut', text: shortcut }),
  ]);
  if (item.checked) button.setAttribute('aria-checked', 'true');
  button.disabled = item.disabled;
  const entry = element('li', { attributes: { role: 'none' } }, [button]);
  if (item.items.length > 0) {
    button.append(element('span', { className: 'menu-arrow', text: '\u25B8' }));
    button.setAttribute('aria-haspopup', 'menu');
    entry.classList.add('has-submenu');
    entry.append(menuList(item.items, onCommand));
  } else if (!item.disabled) {
    button.addEventListener('click', (event) => {
      event.stopPropagation();
      onCommand(item.command);
    });
  }
  return entry;
}

// A list of menu entries; onCommand(command) for the one chosen.
export function menuList(items, onCommand) {
  return element('ul', { className: 'window-menu', attributes: { role: 'menu' } },
    items.map((item) => entryItem(item, onCommand)));
}

function closeOpenMenus(bar) {
  for (const open of bar.querySelectorAll('.menu-bar-entry.open')) open.classList.remove('open');
}

// Fills `bar` with the menu bar `items`; onCommand(command) for an entry
// chosen from it.
export function showMenuBar(bar, items, onCommand) {
  const chosen = (command) => {
    closeOpenMenus(bar);
    onCommand(command);
  };
  bar.replaceChildren(...items.map((item) => {
    const title = element('button', {
      className: 'menu-bar-title',
      attributes: { type: 'button', 'aria-haspopup': 'menu', 'aria-label': withoutAccessKeys(item.text) },
    }, accessKeyNodes(item.text));
    title.disabled = item.disabled;
    const entry = element('div', { className: 'menu-bar-entry' }, [title, menuList(item.items, chosen)]);
    title.addEventListener('click', (event) => {
      event.stopPropagation();
      const wasOpen = entry.classList.contains('open');
      closeOpenMenus(bar);
      if (!wasOpen) entry.classList.add('open');
    });
    return entry;
  }));
}

export function closeMenuBars() {
  for (const open of document.querySelectorAll('.menu-bar-entry.open')) open.classList.remove('open');
}
