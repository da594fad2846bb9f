// Texts of the window system as a person sees them: '&' marks the access
// key (shown underlined), '&&' is an '&' itself, and a tab parts a menu
// entry's text from its shortcut. Every part goes in as text.

import { element } from './dom.js';

// The nodes of `text` with its access key underlined.
export function accessKeyNodes(text) {
  const nodes = [];
  let plain = '';
  for (let at = 0; at < text.length; at += 1) {
    const c = text[at];
    if (c !== '&' || at + 1 >= text.length) {
      plain += c;
      continue;
    }
    at += 1;
    if (text[at] === '&') {
      plain += '&';
      continue;
    }
    if (plain) nodes.push(document.createTextNode(plain));
    plain = '';
    nodes.push(element('u', { className: 'access-key', text: text[at] }));
  }
  if (plain) nodes.push(document.createTextNode(plain));
  return nodes;
}

// The text without its access-key marks, as a name for assistive tools.
export function withoutAccessKeys(text) {
  return text.replace(/&(&?)/g, (match, second) => second);
}

// {label, shortcut} of a menu entry's "&Open\tEnter".
export function menuEntryParts(text) {
  const tab = text.indexOf('\t');
  return tab < 0 ? { label: text, shortcut: '' }
    : { label: text.slice(0, tab), shortcut: text.slice(tab + 1) };
}
