// The article viewer in a real tavi-host, opened from the News Board as a
// person opens it: the live page from the feed server and the stored body in
// its frame, the raw text, Save As into a file, Forward As Attachment into
// the host's Out, and a transfer into another mailbox.

const fs = require('node:fs');
const path = require('node:path');
const { test, expect } = require('@playwright/test');
const {
  closeNewsBoard, downloadInTavi, placeWindow, startHostOnNewFolder, storedMessage, windowCaptioned,
} = require('./host');
const { gazettePages, linkedGazette } = require('./feeds');

test.use({ viewport: { width: 1600, height: 1000 } });

let host;

test.afterEach(async () => {
  const running = host;
  host = undefined;
  if (running) expect(await running.stop()).toEqual({ code: 0, signal: null });
});

const kLighthouse = 'Lighthouse open day';
const kStoredText = 'Climb all 212 steps on Saturday; bring a coat.';
const kLiveText = 'Lighthouse page: 212 steps, and tea at the top.';

// The Gazette subscribed into its newsbox, and a second mailbox, Keep, that
// no feed uses any more; the Gazette downloaded in the page, and its
// Lighthouse article opened from the News Board. Returns the viewer.
async function openLighthouse(page) {
  const documents = {};
  host = await startHostOnNewFolder(documents, async (tavi, feeds) => {
    Object.assign(documents, { '/gazette.rss': linkedGazette(feeds.url('')), ...gazettePages });
    await tavi(['add', 'Gazette', feeds.url('/gazette.rss'), '--name', 'Harbour Town Gazette']);
    await tavi(['add', 'Keep', feeds.url('/gazette.rss'), '--name', 'Kept', '--newsbox', 'Keep']);
    await tavi(['delete', 'Keep']);
  });
  await page.goto(host.address);
  await downloadInTavi(page, "You've got 2 new articles for this feed.");
  const board = windowCaptioned(page, 'News Board');
  await placeWindow(page, board, { left: 900, top: 400, width: 600, height: 400 });
  const row = board.getByRole('grid').getByRole('row', { name: new RegExp(`^${kLighthouse}`) });
  await expect(row.locator('img.row-image')).toHaveAttribute('src', /\/291\.svg$/);
  await row.click();
  await board.getByRole('button', { name: 'Open the article' }).click();
  const viewer = page.locator(`.window[aria-label^="Gazette, "][aria-label$=", ${kLighthouse}"]`);
  await expect(viewer).toBeVisible();
  // The opened row shows the opened icon.
  await expect(row.locator('img.row-image')).toHaveAttribute('src', /\/290\.svg$/);
  await closeNewsBoard(page);
  await placeWindow(page, viewer, { left: 250, top: 60, width: 800, height: 600 });
  return viewer;
}

const frameBody = (viewer) => viewer.frameLocator('iframe.browser').locator('body');
const sourcePane = (viewer) => viewer.locator('textarea.rich-text');

// Chooses `entry` from the viewer's menu `menu`.
async function choose(viewer, menu, entry) {
  await viewer.getByRole('button', { name: menu, exact: true }).click();
  await viewer.locator(`.menu-entry[aria-label="${entry}"]`).click();
}

const checked = (viewer, entry) =>
  viewer.locator(`.menu-entry[aria-label="${entry}"][aria-checked="true"]`);

test('the viewer shows the live page, the stored body and the raw text of each', async ({ page }) => {
  const viewer = await openLighthouse(page);
  await expect(frameBody(viewer)).toContainText(kLiveText);
  expect(host.feeds.hits('/lighthouse')).toBe(1);
  await expect(checked(viewer, 'Full Article')).toHaveCount(1);

  await choose(viewer, 'View', 'Newsbox Article');
  await expect(frameBody(viewer)).toContainText(kStoredText);
  await expect(frameBody(viewer)).not.toContainText(kLiveText);
  await expect(checked(viewer, 'Newsbox Article')).toHaveCount(1);
  await expect(checked(viewer, 'Full Article')).toHaveCount(0);

  // The source of what is shown: the stored body, as the newsbox keeps it.
  await choose(viewer, 'View', 'Source');
  await expect(sourcePane(viewer)).toBeVisible();
  await expect(viewer.locator('iframe.browser')).toBeHidden();
  await expect(sourcePane(viewer)).toHaveValue(`<x-html><p>${kStoredText}</p></x-html>`);
  await expect(checked(viewer, 'Source')).toHaveCount(1);

  // Back online, the source goes and the page is fetched again.
  await choose(viewer, 'View', 'Full Article');
  await expect(sourcePane(viewer)).toBeHidden();
  await expect(frameBody(viewer)).toContainText(kLiveText);
  expect(host.feeds.hits('/lighthouse')).toBe(2);
  await choose(viewer, 'View', 'Source');
  await expect(sourcePane(viewer)).toHaveValue(new RegExp(`<h1>Open day</h1>\\s*<p>${kLiveText}</p>`));
  await choose(viewer, 'View', 'Source');
  await expect(sourcePane(viewer)).toBeHidden();
  await expect(frameBody(viewer)).toContainText(kLiveText);

  await choose(viewer, 'Article', 'Close');
  await expect(viewer).toHaveCount(0);
});

test('Save As writes the article into the file named in the save-file dialog', async ({ page }) => {
  const viewer = await openLighthouse(page);
  await choose(viewer, 'View', 'Newsbox Article');
  await expect(frameBody(viewer)).toContainText(kStoredText);
  await viewer.getByRole('button', { name: 'Save as a file' }).click();

  const dialog = windowCaptioned(page, 'Save Article As...');
  await expect(dialog).toBeVisible();
  await expect(viewer.locator('.blocked-overlay')).toBeVisible();
  const types = dialog.getByRole('combobox', { name: 'Save as type:' });
  await types.selectOption('E-Mail File (*.eml)');
  await expect(types).toHaveValue('E-Mail File (*.eml)');
  // A name with its folder saves there, whatever folder the dialog shows.
  const name = dialog.getByRole('textbox', { name: 'File name:' });
  await name.click();
  await name.pressSequentially(path.join(host.folder, 'lighthouse.eml'));
  await expect(name).toHaveValue(path.join(host.folder, 'lighthouse.eml'));
  await dialog.getByRole('button', { name: 'Save', exact: true }).click();
  await expect(dialog).toHaveCount(0);

  // The header block and the stored body, every line ended by CR alone,
  // and one CR LF at the end.
  const saved = path.join(host.folder, 'lighthouse.eml');
  await expect.poll(() => fs.existsSync(saved)).toBe(true);
  const text = fs.readFileSync(saved, 'latin1');
  const stored = await storedMessage(host, 'Gazette', kLighthouse);
  const headerLines = stored.slice(0, stored.search(/\r?\n\r?\n/)).split(/\r?\n/);
  expect(headerLines).toContain(`Subject: ${kLighthouse}`);
  expect(text).toBe(`${headerLines.join('\r')}\r\r<x-html><p>${kStoredText}</p></x-html>\r\n`);
  await expect(viewer.locator('.blocked-overlay')).toBeHidden();
});

test('Forward As Attachment puts a message with the article file into Out', async ({ page }) => {
  const viewer = await openLighthouse(page);
  await expect(frameBody(viewer)).toContainText(kLiveText);
  await viewer.getByRole('button', { name: 'Forward as an attachment' }).click();

  const file = path.join(host.folder, 'Forwarded Articles', `${kLighthouse}.nws`);
  await expect.poll(() => fs.existsSync(file)).toBe(true);
  // The live page shown is what goes, its line feeds taken away.
  const text = fs.readFileSync(file, 'latin1');
  expect(text).toContain(`Subject: ${kLighthouse}\r`);
  expect(text).toContain(kLiveText);
  expect(text).toMatch(/^[^\n]*\r\n$/);

  await page.getByRole('button', { name: 'Out (1/1)' }).click();
  await page.getByRole('cell', { name: `${kLighthouse} (fwd)` }).click();
  const headers = page.locator('#message-headers');
  await expect(headers).toContainText(`${kLighthouse} (fwd)`);
  await expect(headers).toContainText(`${kLighthouse}.nws`);
  await expect(page.frameLocator('#message-body').locator('body')).toContainText('Forwarded article attached.');
  // The viewer stays.
  await expect(viewer).toBeVisible();
});

test('a transfer from the File menu files the article into that mailbox and closes the viewer',
  async ({ page }) => {
    const viewer = await openLighthouse(page);
    await expect(frameBody(viewer)).toContainText(kLiveText);
    await choose(viewer, 'View', 'Newsbox Article');
    await expect(frameBody(viewer)).toContainText(kStoredText);
    await viewer.getByRole('button', { name: 'File', exact: true }).click();
    // In and the mailboxes of the data folder, not Out, Trash or Pending.
    const entries = viewer.locator('.menu-bar-entry.open .menu-entry');
    await expect(entries).toHaveText(['In', 'Gazette', 'Keep']);
    await entries.filter({ hasText: 'Keep' }).click();

    await expect(viewer).toHaveCount(0);
    await page.getByRole('button', { name: 'Keep (1/1)' }).click();
    await page.getByRole('cell', { name: kLighthouse }).click();
    await expect(page.frameLocator('#message-body').locator('body')).toContainText(kStoredText);
    await expect(page.getByRole('button', { name: 'Pending (0/0)' })).toBeVisible();
    await expect(page.getByRole('button', { name: 'Gazette (2/2)' })).toBeVisible();
  });
