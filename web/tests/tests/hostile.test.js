// A hostile feed: script in its title, its article's title, author, link
// and body. The page shows each as text; the body runs in a frame that runs
// nothing. Whatever ran would set a global, open a dialog or ask the feed
// server for a path beginning /ran-.

const { test, expect } = require('@playwright/test');
const { startHostWithFeed } = require('./host');
const { hostile } = require('./feeds');

let host;

test.beforeEach(async () => {
  // No name given: the feed's own title, payload and all, is learned.
  host = await startHostWithFeed('Hostile', '/hostile.rss', hostile);
});

test.afterEach(async () => {
  expect(await host.stop()).toEqual({ code: 0, signal: null });
});

test('a hostile feed is shown as text and runs nothing', async ({ page, context }) => {
  const dialogs = [];
  page.on('dialog', async (dialog) => {
    dialogs.push(dialog.message());
    await dialog.dismiss();
  });
  const ranRequests = [];
  context.on('request', (request) => {
    if (new URL(request.url()).pathname.startsWith('/ran-')) ranRequests.push(request.url());
  });

  await page.goto(host.address);
  await page.getByRole('button', { name: 'Hostile (1/1)' }).click();
  const subject = page.locator('#message-rows td.subject');
  await expect(subject).toHaveText(/^Subject <script>window.__pwned='item-title-script'/);
  await expect(page.locator('#message-rows td.from')).toHaveText(/^Author <script>/);
  await subject.click();

  const headers = page.locator('#message-headers');
  await expect(headers).toContainText("<svg onload=\"window.__pwned='item-title-svg'");
  // The article's javascript: link is shown, never linked.
  await expect(headers).toContainText('javascript:window.__pwned');
  await expect(page.locator('a[href^="javascript:"]')).toHaveCount(0);

  const body = page.frameLocator('#message-body');
  await expect(body.locator('body')).toContainText('Payload body start');
  await expect(body.locator('body')).toContainText('Payload body end');
  // The frame has finished loading: its failed image has reported, and a
  // script it ran would have asked for its path by now.
  const frame = page.frame({ url: /\/message-body\// });
  await frame.waitForLoadState('load');

  expect(await page.evaluate(() => window.__pwned)).toBeUndefined();
  expect(dialogs).toEqual([]);
  expect(ranRequests).toEqual([]);
  for (const part of ['item-title', 'feed-title', 'author', 'body']) {
    for (const way of ['script', 'onerror', 'svg']) expect(host.feeds.hits(`/ran-${part}-${way}`)).toBe(0);
  }
  // The page holds no element a payload brought: every feed text is text.
  await expect(page.locator('#message-rows img, #message-rows svg, #message-rows script'))
    .toHaveCount(0);
  await expect(page.locator('#message-headers img, #message-headers svg, #message-headers script'))
    .toHaveCount(0);
  await expect(page.locator('#mailbox-tree img, #mailbox-tree script')).toHaveCount(0);
});
