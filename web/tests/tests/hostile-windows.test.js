// A hostile article on the News Board's preview and in the article viewer,
// both its stored body and its live page: nothing in them runs, nothing
// leads the frames away, and a web link clicked in a frame opens in a tab of
// its own instead.

const { test, expect } = require('@playwright/test');
const {
  closeNewsBoard, downloadInTavi, placeWindow, startHostSubscribed, windowCaptioned,
} = require('./host');
const { hostileHtml, rss, webPage } = require('./feeds');

test.use({ viewport: { width: 1600, height: 1000 } });

let host;

test.afterEach(async () => {
  const running = host;
  host = undefined;
  if (running) expect(await running.stop()).toEqual({ code: 0, signal: null });
});

function hostileDocuments(base) {
  return {
    '/hostile.rss': rss('Hostile Herald', [{
      title: 'An article with everything in it',
      link: `${base}/hostile-page`,
      guid: `${base}/hostile-page`,
      date: 'Mon, 03 Nov 2025 08:30:00 +0000',
      description: hostileHtml(base, 'feed'),
    }]),
    '/hostile-page': webPage('<html><head>' +
      `<meta http-equiv="refresh" content="0;url=${base}/ran-page-head-refresh">` +
      `<script>window.top.hostile='page-head';fetch('${base}/ran-page-head')</script></head>` +
      `<body onload="window.top.hostile='page-onload'">${hostileHtml(base, 'page')}</body></html>`),
    '/huge.png': (request, response) => {
      response.writeHead(200, { 'Content-Type': 'image/svg+xml' });
      response.end('<svg xmlns="http://www.w3.org/2000/svg" width="1" height="1"></svg>');
    },
    '/elsewhere': webPage('<html><body><p>Elsewhere on the web.</p></body></html>'),
  };
}

// Does to the frame's content what a person would: hovers and clicks the
// handlers' text, the script links and the form's button. Then clicks the
// web link, which must open a new tab of the host's address; returns it.
async function provoke(page, context, frame) {
  await frame.getByText('Hover or click here').hover();
  await frame.getByText('Hover or click here').click();
  await frame.getByText('A script link').click();
  await frame.getByText('Another script link').click();
  await frame.getByRole('button', { name: 'Send the form' }).click();
  const opened = context.waitForEvent('page');
  await frame.getByRole('link', { name: 'Read elsewhere' }).click();
  const tab = await opened;
  await tab.waitForLoadState();
  return tab;
}

test('a hostile article runs nothing and leads nowhere on the board or in the viewer',
  async ({ page, context }) => {
    const dialogs = [];
    page.on('dialog', async (dialog) => {
      dialogs.push(dialog.message());
      await dialog.dismiss();
    });
    const ran = [];
    context.on('request', (request) => {
      if (new URL(request.url()).pathname.startsWith('/ran-')) ran.push(request.url());
    });
    host = await startHostSubscribed('Hostile', '/hostile.rss', hostileDocuments);
    await page.goto(host.address);
    await downloadInTavi(page, "You've got one new article for this feed.");

    const board = windowCaptioned(page, 'News Board');
    await placeWindow(page, board, { left: 300, top: 100, width: 900, height: 700 });
    const preview = board.frameLocator('iframe.browser');
    await expect(preview.locator('body')).toContainText('Hostile feed start');
    await expect(preview.locator('body')).toContainText('Hostile feed end');
    const boardTab = await provoke(page, context, preview);
    expect(boardTab.url()).toBe(host.feeds.url('/elsewhere'));
    await expect(boardTab.locator('body')).toHaveText('Elsewhere on the web.');
    await boardTab.close();
    await page.bringToFront();
    // The preview still shows the board's page.
    await expect(preview.locator('body')).toContainText('Hostile feed start');

    await board.getByRole('grid').getByRole('row', { name: /^An article with everything/ }).click();
    await board.getByRole('button', { name: 'Open the article' }).click();
    const viewer = page.locator('.window[aria-label$=", An article with everything in it"]');
    await expect(viewer).toBeVisible();
    await closeNewsBoard(page);
    await placeWindow(page, viewer, { left: 300, top: 100, width: 900, height: 700 });
    const shown = viewer.frameLocator('iframe.browser');
    await expect(shown.locator('body')).toContainText('Hostile page end');
    const viewerTab = await provoke(page, context, shown);
    expect(viewerTab.url()).toBe(host.feeds.url('/elsewhere'));
    await viewerTab.close();
    await page.bringToFront();
    await expect(shown.locator('body')).toContainText('Hostile page start');

    // The stored body in the viewer, likewise.
    await viewer.getByRole('button', { name: 'Newsbox article (offline)' }).click();
    await expect(shown.locator('body')).toContainText('Hostile feed end');
    await expect(shown.locator('body')).not.toContainText('Hostile page');
    const storedTab = await provoke(page, context, shown);
    await storedTab.close();
    await page.bringToFront();
    await expect(shown.locator('body')).toContainText('Hostile feed start');

    // Every frame has finished loading by now: whatever would have run has.
    expect(await page.evaluate(() => window.hostile)).toBeUndefined();
    expect(dialogs).toEqual([]);
    expect(ran).toEqual([]);
    // Only the page behind the article and the web link were fetched from
    // the feed server's pages: each once per view of it and per click.
    expect(host.feeds.hits('/hostile-page')).toBe(1);
    expect(host.feeds.hits('/elsewhere')).toBe(3);
    // Both frames still hold the documents tavi-host served them.
    const frames = await page.locator('iframe.browser').elementHandles();
    expect(frames).toHaveLength(2);
    for (const frame of frames) {
      expect(new URL((await frame.contentFrame()).url()).pathname).toMatch(/^\/window-html\/\d+$/);
    }
  });
