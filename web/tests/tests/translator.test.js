// "Get the Full Article" on a delivered message in a real tavi-host: with
// Ctrl held the message becomes the whole page behind it; without, the
// article viewer opens on it and the message stays as it was.

const { test, expect } = require('@playwright/test');
const { startHostOnNewFolder, storedMessage, windowCaptioned } = require('./host');
const { gazettePages, linkedGazette } = require('./feeds');

test.use({ viewport: { width: 1600, height: 1000 } });

let host;

test.beforeEach(async () => {
  const documents = {};
  host = await startHostOnNewFolder(documents, async (tavi, feeds) => {
    Object.assign(documents, { '/gazette.rss': linkedGazette(feeds.url('')), ...gazettePages });
    await tavi(['add', 'Gazette', feeds.url('/gazette.rss')]);
    await tavi(['download']);
  });
});

test.afterEach(async () => {
  expect(await host.stop()).toEqual({ code: 0, signal: null });
});

const messageBody = (page) => page.frameLocator('#message-body').locator('body');
const translator = (page) => page.locator('#message-tools').getByRole('button', { name: 'Get the Full Article' });

async function openMessage(page, subject) {
  await page.getByRole('cell', { name: subject }).click();
  await expect(page.locator('#message-headers')).toContainText(subject);
}

test('with Ctrl the message becomes the whole page; without, the viewer opens on it',
  async ({ page }) => {
    await page.goto(host.address);
    await page.getByRole('button', { name: 'Gazette (2/2)' }).click();

    await openMessage(page, 'Lighthouse open day');
    await expect(messageBody(page)).toContainText('Climb all 212 steps on Saturday; bring a coat.');
    await translator(page).click({ modifiers: ['Control'] });
    await expect(messageBody(page)).toContainText('Lighthouse page: 212 steps, and tea at the top.');
    await expect(messageBody(page)).not.toContainText('Climb all 212 steps');
    // Shown as the page it is, not as its markup.
    await expect(messageBody(page).getByRole('heading', { name: 'Open day' })).toBeVisible();
    await expect(messageBody(page)).not.toContainText('<h1>');
    expect(host.feeds.hits('/lighthouse')).toBe(1);
    // The message keeps its headers, and is changed for good.
    await expect(page.locator('#message-headers')).toContainText('Lighthouse open day');
    expect(await storedMessage(host, 'Gazette', 'Lighthouse open day')).toContain('<h1>Open day</h1>');

    // Without Ctrl: the viewer, on the live page, and the message as it was.
    await openMessage(page, 'Ferry timetable changes for the winter');
    await translator(page).click();
    const viewer = page.locator('.window[aria-label$=", Ferry timetable changes for the winter"]');
    await expect(viewer).toBeVisible();
    await expect(viewer.frameLocator('iframe.browser').locator('body'))
      .toContainText('Ferry page: the winter timetable in full.');
    await expect(messageBody(page)).toContainText('From next Monday the first ferry leaves at 7:15.');
    // Its stored body is the one the translator passed.
    await viewer.getByRole('button', { name: 'Newsbox article (offline)' }).click();
    await expect(viewer.frameLocator('iframe.browser').locator('body'))
      .toContainText('From next Monday the first ferry leaves at 7:15.');
    await viewer.locator('.window-caption').getByRole('button', { name: 'Close' }).click();
    await expect(viewer).toHaveCount(0);
    await expect(windowCaptioned(page, 'News Board')).toHaveCount(0);
  });
