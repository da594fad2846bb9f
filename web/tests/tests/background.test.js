// The background checker in a real tavi-host, ticking every few hundred
// milliseconds: it only downloads a due feed into the cache, the menu item
// imports the cache in the main window before the person works in it, no
// tick acts while that window is open, and a host whose automation server is
// switched off loses nothing.

const fs = require('node:fs');
const path = require('node:path');
const { test, expect } = require('@playwright/test');
const {
  closeNewsBoard, makeDataFolder, startFeedServer, startHost, tavi,
} = require('./host');
const { linkedGazette } = require('./feeds');

const kPeriodMs = 200;
const kFeedPath = '/gazette.rss';
// The cached document and the answer kept beside it.
const kCachedGazette = ['Gazette.rss', 'Gazette.rss.answer'];

const settingsFile = (folder) => path.join(folder, 'plugins', 'tavi.ini');
const cacheFiles = (folder) => {
  const cache = path.join(folder, 'Feeds');
  return fs.existsSync(cache) ? fs.readdirSync(cache).sort() : [];
};

// The due time ("LastCheck") the settings file holds for `alias`, or null.
function dueTime(folder, alias) {
  const text = fs.readFileSync(settingsFile(folder), 'utf8');
  const section = text.split(/^\[/m).find((part) => part.startsWith(`${alias}]`)) || '';
  const found = section.match(/^LastCheck=(.*?)\r?$/m);
  return found ? found[1] : null;
}

// Sets the due time of `alias` as a hand edit of the settings file would,
// replaced in one rename so that a reader never sees half a file.
function setDueTime(folder, alias, due) {
  const file = settingsFile(folder);
  const text = fs.readFileSync(file, 'utf8');
  const newline = text.includes('\r\n') ? '\r\n' : '\n';
  const header = `[${alias}]${newline}`;
  expect(text).toContain(header);
  const edited = dueTime(folder, alias) === null
    ? text.replace(header, `${header}LastCheck=${due}${newline}`)
    : text.replace(/^LastCheck=.*$/m, `LastCheck=${due}`);
  fs.writeFileSync(`${file}.edit`, edited);
  fs.renameSync(`${file}.edit`, file);
}

const kLongAgo = '1/1/2020 12:00:00 AM';

let feeds;
let documents;
let folder;
let host;

// A data folder with the Gazette subscribed (named, so that subscribing
// downloads nothing) with `options`, and the articles' pages served.
async function subscribe(options) {
  documents = {};
  feeds = await startFeedServer(documents);
  documents[kFeedPath] = linkedGazette(feeds.url(''));
  // Slow pages: an import that fetches them lasts long enough for the page
  // to draw its window.
  const slowly = (text) => (request, response) => {
    setTimeout(() => {
      response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
      response.end(text);
    }, 300);
  };
  documents['/ferry'] = slowly('<html><body><p>Ferry page: the winter timetable in full.</p></body></html>');
  documents['/lighthouse'] = slowly('<html><body><p>Lighthouse page: 212 steps.</p></body></html>');
  folder = makeDataFolder();
  await tavi(folder, ['init']);
  await tavi(folder, ['add', 'Gazette', feeds.url(kFeedPath), '--name', 'Harbour Town Gazette', ...options]);
}

const openHost = async (page) => {
  host = await startHost(['--data', folder], { TAVI_CHECKER_PERIOD_MS: String(kPeriodMs) });
  await page.goto(host.address);
};

test.afterEach(async () => {
  if (host) expect(await host.stop()).toEqual({ code: 0, signal: null });
  host = undefined;
  await feeds.close();
  fs.rmSync(folder, { recursive: true, force: true });
});

async function chooseTavi(page) {
  await page.getByRole('button', { name: 'Special' }).click();
  await page.getByRole('menuitem', { name: 'Tavi...' }).click();
}

// The main window the person works in (the cache import's shows another line).
const mainWindow = (page) => page.locator('.window[aria-label="Tavi"]', { hasText: 'Ready. For Help, press F1.' });

// Polls `look` once a tick until `ticks` ticks have passed; returns what it saw.
async function watchTicks(look, ticks) {
  const seen = [];
  const start = Date.now();
  await expect.poll(async () => {
    seen.push(await look());
    return Date.now() - start;
  }, { intervals: [kPeriodMs / 2] }).toBeGreaterThan(ticks * kPeriodMs);
  return seen;
}

test('a due feed is only downloaded into the cache, and the menu item imports it before the main window',
  async ({ page }) => {
    await subscribe(['--every', '1', '--full']);
    setDueTime(folder, 'Gazette', kLongAgo);
    await openHost(page);

    // The checker fetches the document into the cache, with what the server
    // answered beside it, moves the due time on, and delivers nothing: no
    // page behind an article is fetched either.
    await expect.poll(() => cacheFiles(folder)).toEqual(kCachedGazette);
    expect(feeds.hits(kFeedPath)).toBe(1);
    await expect.poll(() => dueTime(folder, 'Gazette')).not.toBe(kLongAgo);
    expect(feeds.hits('/ferry') + feeds.hits('/lighthouse')).toBe(0);
    await expect(page.getByRole('button', { name: /^Gazette \(0\/0\)$/ })).toBeVisible();

    // The import window comes and goes by itself: the page notes whether it
    // ever drew a Tavi window with every button disabled.
    await page.evaluate(() => {
      window.taviWindowsSeen = new Set();
      const note = () => {
        for (const made of document.querySelectorAll('.window[aria-label="Tavi"]')) {
          const buttons = [...made.querySelectorAll('button.button')];
          window.taviWindowsSeen.add(buttons.length > 0 && buttons.every((button) => button.disabled)
            ? 'disabled' : 'enabled');
        }
      };
      new MutationObserver(note).observe(document.getElementById('desktop'),
        { subtree: true, childList: true, attributes: true, characterData: true });
    });
    await chooseTavi(page);
    // It closes itself, and the person's main window follows with the
    // articles delivered and the cache emptied.
    const main = mainWindow(page);
    await expect(main).toBeVisible();
    expect(await page.evaluate(() => [...window.taviWindowsSeen])).toEqual(['disabled', 'enabled']);
    await expect(main.getByRole('row', { name: 'Gazette', exact: true })).toBeVisible();
    await expect(main.getByRole('row', { name: /^Gazette \(/ })).toHaveText('Gazette (2/2)');
    await expect(page.getByRole('button', { name: 'Gazette (2/2)' })).toBeVisible();
    expect(cacheFiles(folder)).toEqual([]);
    expect(feeds.hits(kFeedPath)).toBe(1);

    // Downloading now finds nothing new: the import counted as the check.
    await main.getByRole('button', { name: 'Download' }).click();
    const report = page.locator('.window[aria-label="No New Articles :-("]');
    await expect(report).toContainText('no new articles for this feed');
    await expect(mainWindow(page)).toHaveCount(0);
    expect(feeds.hits(kFeedPath)).toBe(2);
    await report.getByRole('button', { name: 'OK' }).click();
    await expect(page.locator('#host-blocked')).toBeHidden();

    // The articles came with their pages; the News Board that the import
    // showed is closed first.
    await closeNewsBoard(page);
    await page.getByRole('button', { name: 'Gazette (2/2)' }).click();
    await page.getByRole('cell', { name: 'Ferry timetable changes for the winter' }).click();
    await expect(page.frameLocator('#message-body').locator('body'))
      .toContainText('Ferry page: the winter timetable in full.');
    expect(cacheFiles(folder)).toEqual([]);
  });

test('no tick downloads while the main window is open, and the first one after it does',
  async ({ page }) => {
    await subscribe(['--every', '1']);
    await openHost(page);
    // Switched on, the feed gets its first due time a minute ahead.
    await expect.poll(() => dueTime(folder, 'Gazette')).not.toBeNull();
    await chooseTavi(page);
    const main = mainWindow(page);
    await expect(main.getByRole('row', { name: 'Gazette', exact: true })).toBeVisible();

    // Due now, while the window is open: over several ticks nothing is
    // fetched, cached or rescheduled.
    setDueTime(folder, 'Gazette', kLongAgo);
    const seen = await watchTicks(() => [feeds.hits(kFeedPath), cacheFiles(folder).length,
      dueTime(folder, 'Gazette')].join(), 6);
    expect(new Set(seen)).toEqual(new Set([`0,0,${kLongAgo}`]));

    // The person works in the window meanwhile: Feed Properties comes and goes.
    await main.getByRole('button', { name: 'Edit' }).click();
    const properties = page.locator('.window[aria-label="Feed Properties"]');
    await expect(properties.getByRole('checkbox', { name: 'Check for new articles every' }))
      .toHaveAttribute('aria-checked', 'true');
    await properties.getByRole('button', { name: 'Cancel' }).click();
    await expect(properties).toHaveCount(0);
    expect(feeds.hits(kFeedPath)).toBe(0);

    await main.getByRole('button', { name: 'Close' }).click();
    await expect(main).toHaveCount(0);
    await expect.poll(() => cacheFiles(folder)).toEqual(kCachedGazette);
    expect(feeds.hits(kFeedPath)).toBe(1);
    await expect.poll(() => dueTime(folder, 'Gazette')).not.toBe(kLongAgo);
    await expect(page.getByRole('button', { name: 'Gazette (0/0)' })).toBeVisible();
  });

test('with the automation server switched off, the picker shows only its root and Download reports the error',
  async ({ page }) => {
    await subscribe([]);
    await tavi(folder, ['download']);
    await openHost(page);
    await chooseTavi(page);
    const main = mainWindow(page);
    await main.getByRole('button', { name: 'Edit' }).click();
    const properties = page.locator('.window[aria-label="Feed Properties"]');
    const picker = page.locator('.window[aria-label="Mailboxes"]');
    await properties.getByRole('button', { name: 'Gazette' }).click();
    await expect(picker.getByRole('treeitem', { name: 'Gazette' })).toHaveAttribute('aria-selected', 'true');

    // The modal windows block the host's menus: the switch comes from
    // elsewhere, as the request that Tools > Automation Server sends.
    await expect(page.locator('#host-blocked')).toBeVisible();
    expect(await page.evaluate(async () => (await fetch('/api/automation', {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ enabled: false }),
    })).status)).toBe(200);

    // Opened again, the picker reaches no host and shows only its root,
    // where Select does nothing.
    await picker.getByRole('button', { name: 'Cancel' }).click();
    await expect(picker).toHaveCount(0);
    await properties.getByRole('button', { name: 'Gazette' }).click();
    const root = path.basename(folder);
    await expect(picker.getByRole('treeitem')).toHaveCount(1);
    await expect(picker.getByRole('treeitem', { name: root })).toBeVisible();
    await picker.getByRole('treeitem', { name: root }).click();
    await expect(picker.getByRole('button', { name: 'Select' })).toBeDisabled();
    await picker.getByRole('button', { name: 'Cancel' }).click();
    await properties.getByRole('button', { name: 'Cancel' }).click();
    await expect(properties).toHaveCount(0);

    // A new article waits on the server; Download cannot deliver it.
    documents[kFeedPath] = documents[kFeedPath].replace('<item>', `<item><title>Harbour closed by the storm</title>
      <link>${feeds.url('/storm')}</link><guid>${feeds.url('/storm')}</guid>
      <pubDate>Mon, 10 Nov 2025 06:00:00 +0000</pubDate><description>Stay ashore.</description></item><item>`);
    await main.getByRole('button', { name: 'Download' }).click();
    const error = page.getByRole('alertdialog', { name: 'Tavi' });
    await expect(error).toContainText('Invalid class string');
    // Each step that needs the host says so; the run then ends as one that
    // moved nothing.
    const noNews = page.locator('.window[aria-label="No New Articles :-("]');
    await expect(async () => {
      if (await error.isVisible()) {
        await expect(error).toContainText('Invalid class string');
        await error.getByRole('button', { name: 'OK' }).click();
      }
      await expect(noNews).toBeVisible({ timeout: 500 });
    }).toPass();
    await noNews.getByRole('button', { name: 'OK' }).click();
    await expect(page.locator('#host-blocked')).toBeHidden();
    await expect(page.getByRole('button', { name: 'Gazette (2/2)' })).toBeVisible();

    // Nothing is lost: switched on again, the feed is still there and the
    // article arrives.
    await page.getByRole('button', { name: 'Tools' }).click();
    await page.getByRole('menuitemcheckbox', { name: 'Automation Server' }).click();
    await chooseTavi(page);
    await expect(main.getByRole('row', { name: 'Gazette', exact: true })).toBeVisible();
    await main.getByRole('button', { name: 'Download' }).click();
    const report = page.locator(".window[aria-label=\"You've Got New Articles!\"]");
    await expect(report).toContainText("You've got one new article for this feed.");
    await report.getByRole('button', { name: 'OK' }).click();
    await expect(page.getByRole('button', { name: 'Gazette (3/3)' })).toBeVisible();
  });
