// The mailbox tree: folders nested, each mailbox with its unread and total
// counts; choosing one opens it in the host and lists its messages.

import { element, byId } from './dom.js';

function mailboxLabel(item) {
  return `${item.name} (${item.unread}/${item.total})`;
}

function mailboxItem(item, chosen, onChoose) {
  const button = element('button', {
    className: 'mailbox' + (item.unread > 0 ? ' unread' : ''),
    text: mailboxLabel(item),
    attributes: { type: 'button', 'data-mailbox': item.number, 'aria-label': mailboxLabel(item) },
  });
  if (item.number === chosen) button.classList.add('chosen');
  button.addEventListener('click', () => onChoose(item.number));
  return element('li', { attributes: { role: 'treeitem' } }, [button]);
}

function folderItem(item, chosen, onChoose) {
  const children = element('ul', { attributes: { role: 'group' } });
  for (const child of item.children) children.append(treeItem(child, chosen, onChoose));
  return element('li', { attributes: { role: 'treeitem', 'aria-expanded': 'true' } }, [
    element('span', { className: 'folder', text: item.name }),
    children,
  ]);
}

function treeItem(item, chosen, onChoose) {
  return item.folder ? folderItem(item, chosen, onChoose) : mailboxItem(item, chosen, onChoose);
}

// Shows `tree` ({mailboxes: [...]}) with `chosen` marked.
export function showMailboxTree(tree, chosen, onChoose) {
  const list = byId('mailbox-tree');
  list.replaceChildren(...tree.mailboxes.map((item) => treeItem(item, chosen, onChoose)));
}
