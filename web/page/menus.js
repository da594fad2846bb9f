// The host's menu bar: the Special menu, holding the plug-in's items
// ("Tavi..."), and the Tools menu, holding the plug-in's settings and the
// switch of the host's automation server. While a command of the plug-in
// runs, its items wait, as the host's menus do.

import { element, byId } from './dom.js';

const kMenus = ['special', 'tools'];

function closeMenus() {
  for (const name of kMenus) {
    byId(`${name}-menu`).hidden = true;
    byId(`${name}-menu-button`).setAttribute('aria-expanded', 'false');
  }
}

function toggleMenu(name) {
  const wasOpen = !byId(`${name}-menu`).hidden;
  closeMenus();
  if (wasOpen) return;
  byId(`${name}-menu`).hidden = false;
  byId(`${name}-menu-button`).setAttribute('aria-expanded', 'true');
  byId(`${name}-menu`).querySelector('button:not([disabled])')?.focus();
}

function menuItem(text, disabled, onChoose, checked = null) {
  const attributes = checked === null
    ? { type: 'button', role: 'menuitem' }
    : { type: 'button', role: 'menuitemcheckbox', 'aria-checked': String(checked) };
  const button = element('button', { text, attributes });
  button.disabled = disabled;
  button.addEventListener('click', () => {
    closeMenus();
    onChoose();
  });
  return element('li', { attributes: { role: 'none' } }, [button]);
}

export function setUpMenus() {
  for (const name of kMenus) {
    byId(`${name}-menu-button`).addEventListener('click', (event) => {
      event.stopPropagation();
      toggleMenu(name);
    });
  }
  document.addEventListener('click', closeMenus);
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') closeMenus();
  });
}

// Fills the menus from the host's state ({running, automation, plugin:
// {description, menu}}); `on` holds what choosing an item does: menuItem(id),
// settings() and automation(enabled).
export function showMenus(host, on) {
  const busy = host.running !== '';
  byId('special-menu').replaceChildren(
    ...host.plugin.menu.map((item) => menuItem(item.text, busy, () => on.menuItem(item.id))));
  byId('tools-menu').replaceChildren(
    menuItem(`${host.plugin.description.trim() || 'Plug-in'} Settings...`, busy, on.settings),
    menuItem('Automation Server', false, () => on.automation(!host.automation), host.automation));
}
