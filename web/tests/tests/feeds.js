// The feed documents the tests serve.

// XML text of `text`: what a feed writes so that its readers get `text` back.
function xmlText(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

function item({ title, link, guid, date, author, description }) {
  return `<item><title>${xmlText(title)}</title><link>${xmlText(link)}</link>` +
    `<guid>${xmlText(guid)}</guid><pubDate>${date}</pubDate>` +
    (author ? `<author>${xmlText(author)}</author>` : '') +
    `<description>${xmlText(description)}</description></item>`;
}

function rss(title, items) {
  return `<?xml version="1.0" encoding="UTF-8"?>\n<rss version="2.0"><channel>` +
    `<title>${xmlText(title)}</title><link>http://gazette.example/</link>` +
    `<description>${xmlText(title)}</description>${items.map(item).join('')}</channel></rss>\n`;
}

const gazette = rss('Harbour Town Gazette', [
  {
    title: 'Ferry timetable changes for the winter',
    link: 'http://gazette.example/ferry',
    guid: 'http://gazette.example/ferry',
    date: 'Mon, 03 Nov 2025 08:30:00 +0000',
    author: 'desk@gazette.example (News Desk)',
    description: '<p>From next Monday the first ferry leaves at 7:15.</p>',
  },
  {
    title: 'Lighthouse open day',
    link: 'http://gazette.example/lighthouse',
    guid: 'http://gazette.example/lighthouse',
    date: 'Fri, 07 Nov 2025 17:45:00 +0000',
    description: '<p>Climb all 212 steps on Saturday; bring a coat.</p>',
  },
]);

const courier = rss('Valley Courier', [
  {
    title: 'Bridge repairs finished early',
    link: 'http://courier.example/bridge',
    guid: 'http://courier.example/bridge',
    date: 'Tue, 04 Nov 2025 09:00:00 +0000',
    description: '<p>The old stone bridge reopens on Thursday.</p>',
  },
]);

// The Gazette's two articles with links to their pages on the feed server
// at `base` (see gazettePages).
function linkedGazette(base) {
  return rss('Harbour Town Gazette', [
    {
      title: 'Ferry timetable changes for the winter',
      link: `${base}/ferry`,
      guid: `${base}/ferry`,
      date: 'Mon, 03 Nov 2025 08:30:00 +0000',
      author: 'desk@gazette.example (News Desk)',
      description: '<p>From next Monday the first ferry leaves at 7:15.</p>',
    },
    {
      title: 'Lighthouse open day',
      link: `${base}/lighthouse`,
      guid: `${base}/lighthouse`,
      date: 'Fri, 07 Nov 2025 17:45:00 +0000',
      author: 'keeper@gazette.example (The Keeper)',
      description: '<p>Climb all 212 steps on Saturday; bring a coat.</p>',
    },
  ]);
}

// A route that answers with the web page `html`.
function webPage(html) {
  return (request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(html);
  };
}

// The web pages behind linkedGazette's articles, by path.
const gazettePages = {
  '/ferry': webPage('<html><head><title>Ferry</title></head><body><h1>Winter timetable</h1>' +
    '<p>Ferry page: the winter timetable in full.</p></body></html>'),
  '/lighthouse': webPage('<html><head><title>Lighthouse</title></head><body><h1>Open day</h1>' +
    '<p>Lighthouse page: 212 steps, and tea at the top.</p></body></html>'),
};

// A route that answers with the header and the first bytes of `document`,
// then one more byte every `milliseconds`: a transfer that goes on for
// minutes, which only a stop or the server's close ends.
function trickling(document, milliseconds = 250) {
  return (request, response) => {
    response.writeHead(200, { 'Content-Type': 'application/rss+xml; charset=utf-8' });
    let sent = 64;
    response.write(document.slice(0, sent));
    const timer = setInterval(() => {
      if (sent < document.length) response.write(document[sent]);
      sent += 1;
    }, milliseconds);
    response.on('close', () => clearInterval(timer));
  };
}

// Payloads that would run, were any of them taken for markup in the page or
// run in the frame: each would set a global, open a dialog, or ask the
// feed server (at `base`) for a path beginning /ran-.
function hostile(base) {
  const run = (what) => `window.__pwned='${what}';alert('${what}');fetch('${base}/ran-${what}')`;
  const markup = (what) => `<script>${run(`${what}-script`)}</script>` +
    `<img src="x" onerror="${run(`${what}-onerror`)}">` +
    `<svg onload="${run(`${what}-svg`)}"></svg>`;
  return rss(`Hostile ${markup('feed-title')}`, [{
    title: `Subject ${markup('item-title')}`,
    link: `javascript:${run('link')}`,
    guid: 'hostile-1',
    date: 'Mon, 03 Nov 2025 08:30:00 +0000',
    author: `Author ${markup('author')}`,
    description: `<p>Payload body start</p>${markup('body')}` +
      `<iframe src="javascript:${run('frame')}"></iframe>` +
      `<a href="javascript:${run('anchor')}">a link</a>` +
      `<meta http-equiv="refresh" content="0;url=javascript:${run('refresh')}">` +
      `<object data="javascript:${run('object')}"></object>` +
      '<p>Payload body end</p>',
  }]);
}

// HTML that would act, were any of it run or followed where it is shown
// (`where` names the place): a script, on* handlers, javascript: links, a
// form, a meta refresh, an iframe, an image of enormous size, and broken
// markup. Each act would set window.top.hostile or ask the feed server at
// `base` for a path beginning /ran-. Its one web link leads to
// `${base}/elsewhere`.
function hostileHtml(base, where) {
  const run = (what) => `window.top.hostile='${where}-${what}';fetch('${base}/ran-${where}-${what}')`;
  return `<p>Hostile ${where} start</p>` +
    `<script>${run('script')}</script>` +
    `<div onmouseover="${run('mouseover')}" onclick="${run('click')}">Hover or click here</div>` +
    `<a href="javascript:${run('link')}">A script link</a> ` +
    `<a href=" JaVa&#09;ScRiPt:${run('mixed-link')}">Another script link</a>` +
    `<form action="${base}/ran-${where}-form" method="post"><input name="q" value="x">` +
    `<button type="submit">Send the form</button></form>` +
    `<meta http-equiv="refresh" content="0;url=${base}/ran-${where}-refresh">` +
    `<iframe src="${base}/ran-${where}-iframe"></iframe>` +
    `<img src="${base}/huge.png" width="40000" height="40000" onload="${run('onload')}">` +
    `<a href="${base}/elsewhere" target="_top">Read elsewhere</a>` +
    `<table><tr><td>An unclosed <b>cell <i>of broken</table><p>markup</div></span>` +
    `<p>Hostile ${where} end`;
}

module.exports = {
  gazette, gazettePages, courier, hostile, hostileHtml, linkedGazette, rss, trickling, webPage,
};
