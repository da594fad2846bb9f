// Building the page's elements. Every text, a feed's above all, goes in
// as text (textContent), never as markup: a title holding "<script>" shows
// those characters and runs nothing.

export function element(tag, { className, text, attributes } = {}, children = []) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  for (const [name, value] of Object.entries(attributes || {})) made.setAttribute(name, value);
  for (const child of children) made.append(child);
  return made;
}

export function byId(id) {
  return document.getElementById(id);
}

// An address from a feed as a link only when it is a web address; anything
// else (javascript:, data:, ...) stays text.
export function webLink(address) {
  let url;
  try {
    url = new URL(address);
  } catch {
    return null;
  }
  if (url.protocol !== 'http:' && url.protocol !== 'https:') return null;
  return element('a', {
    text: address,
    attributes: { href: url.href, target: '_blank', rel: 'noopener noreferrer' },
  });
}
