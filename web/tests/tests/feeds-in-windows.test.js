// Managing feeds in Tavi's windows over a real tavi-host, as a person does
// it: a feed subscribed through Feed Properties and the mailbox picker,
// downloaded, reported and read; a feed renamed and deleted; an alias that
// is already in use; Stop during a download that does not end by itself.

const fs = require('node:fs');
const path = require('node:path');
const { test, expect } = require('@playwright/test');
const {
  closeNewsBoard, mainWindow, openTavi, startHostOnNewFolder, windowCaptioned,
} = require('./host');
const { gazette, courier, trickling } = require('./feeds');

test.use({ viewport: { width: 1600, height: 1000 } });

let host;

test.afterEach(async () => {
  const running = host;
  host = undefined;
  if (running) expect(await running.stop()).toEqual({ code: 0, signal: null });
});

const feedsList = (main) => main.getByRole('grid', { name: 'Feeds' });
const newsboxesList = (main) => main.getByRole('grid', { name: 'Newsboxes:' });
const row = (list, name) => list.getByRole('row', { name, exact: true });

// The feeds the settings file holds, as `tavi feeds` lists them.
async function storedFeeds() {
  const listed = await host.tavi(['feeds']);
  const feeds = [];
  for (const line of listed.split('\n')) {
    const field = line.match(/^ {2}(\w+): +(.*)$/);
    if (field) feeds[feeds.length - 1][field[1].toLowerCase()] = field[2];
    else if (line && !line.startsWith('No feeds.')) feeds.push({ alias: line });
  }
  return feeds;
}

// The sections of the settings file that hold a feed's definition.
function definitionSections() {
  const settings = fs.readFileSync(path.join(host.folder, 'plugins', 'tavi.ini'), 'latin1');
  return [...settings.matchAll(/^\[([^\]]*)\]/gm)].map((found) => found[1])
    .filter((section) => !['Aliases', 'Windows'].includes(section));
}

test('a feed is subscribed into a new mailbox, downloaded, reported and read in the host',
  async ({ page, context }) => {
    host = await startHostOnNewFolder({ '/gazette.rss': gazette });
    const url = host.feeds.url('/gazette.rss');
    await page.goto(host.address);

    // The very first use also opens Getting Started in a tab of its own.
    const helpOpened = context.waitForEvent('page');
    const main = await openTavi(page);
    const help = await helpOpened;
    await expect(help.locator('h1')).toHaveText('Getting Started');
    await help.close();
    await page.bringToFront();
    await expect(feedsList(main).getByRole('row')).toHaveCount(0);
    for (const name of ['Edit', 'Delete', 'Download']) {
      await expect(main.getByRole('button', { name, exact: true })).toBeDisabled();
    }

    await main.getByRole('button', { name: 'Add', exact: true }).click();
    const properties = windowCaptioned(page, 'Feed Properties');
    await properties.getByRole('textbox', { name: 'Alias (Friendly Name):' }).fill('Gazette');
    // Clicked first, as a person does: the window takes the focus from the
    // alias before the text comes.
    await properties.getByRole('textbox', { name: 'URL:' }).click();
    await properties.getByRole('textbox', { name: 'URL:' }).fill(url);
    await properties.getByRole('button', { name: '[No newsbox selected]' }).click();

    // The picker lists the host's mailboxes under the data folder's name; a
    // new one is made in the root and chosen at once.
    const picker = windowCaptioned(page, 'Mailboxes');
    const tree = picker.getByRole('tree', { name: 'Please select the mailbox for this feed' });
    await expect(tree.getByRole('treeitem', { name: 'Trash', exact: true })).toBeVisible();
    await tree.getByRole('treeitem', { name: new RegExp(`${path.basename(host.folder)}$`) }).click();
    await expect(picker.getByRole('button', { name: 'Select' })).toBeDisabled();
    await picker.getByRole('button', { name: 'Create New' }).click();
    const naming = windowCaptioned(page, 'New Mailbox');
    const name = naming.getByRole('textbox', { name: 'Please specify the name for this new mailbox' });
    // A name a mailbox of the folder already has is refused without a word.
    await name.fill('Trash');
    await naming.getByRole('button', { name: 'OK' }).click();
    await expect(name).toBeEnabled();
    await expect(naming).toBeVisible();
    await name.fill('Harbour News');
    await naming.getByRole('button', { name: 'OK' }).click();
    await expect(naming).toHaveCount(0);
    await expect(tree.getByRole('treeitem', { name: 'Harbour News', exact: true }))
      .toHaveAttribute('aria-selected', 'true');
    await picker.getByRole('button', { name: 'Select' }).click();
    await expect(picker).toHaveCount(0);

    // OK with no name yet learns the feed's title by one download.
    await expect(properties.getByRole('button', { name: 'Harbour News' })).toBeVisible();
    await properties.getByRole('button', { name: 'OK' }).click();
    await expect(properties).toHaveCount(0);
    await expect(row(feedsList(main), 'Gazette')).toHaveAttribute('aria-selected', 'true');
    await expect(row(newsboxesList(main), 'Harbour News (0/0)')).toBeVisible();
    expect(host.feeds.hits('/gazette.rss')).toBe(1);
    expect(await storedFeeds()).toEqual([expect.objectContaining({
      alias: 'Gazette', name: 'Harbour Town Gazette', url, newsbox: expect.stringMatching(/^Harbour News \(/),
    })]);

    // Download ends the window; the report names the feed and its count.
    await main.getByRole('button', { name: 'Download' }).click();
    const report = windowCaptioned(page, "You've Got New Articles!");
    await expect(report).toContainText("You've got 2 new articles for this feed.");
    await expect(report).toContainText('Feed: Harbour Town Gazette');
    await expect(report).toContainText('Mailbox: Harbour News');
    await expect(mainWindow(page)).toHaveCount(0);
    await expect(page.locator('#host-blocked')).toBeVisible();
    await report.getByRole('button', { name: 'OK' }).click();
    await expect(report).toHaveCount(0);
    await expect(page.locator('#host-blocked')).toBeHidden();
    expect(host.feeds.hits('/gazette.rss')).toBe(2);

    // The person reads in the host, out of the News Board's way.
    await closeNewsBoard(page);
    await page.getByRole('button', { name: 'Harbour News (2/2)' }).click();
    await page.getByRole('cell', { name: 'Lighthouse open day' }).click();
    await expect(page.frameLocator('#message-body').locator('body'))
      .toContainText('Climb all 212 steps on Saturday; bring a coat.');
    await expect(page.getByRole('button', { name: 'Harbour News (1/2)' })).toBeVisible();
  });

test('a feed is renamed in place, kept when its deletion is declined, and then deleted',
  async ({ page }) => {
    host = await startHostOnNewFolder({ '/gazette.rss': gazette }, async (tavi, feeds) => {
      await tavi(['add', 'Gazette', feeds.url('/gazette.rss'), '--newsbox', 'Harbour News']);
    });
    await page.goto(host.address);
    const main = await openTavi(page);
    const feeds = feedsList(main);
    // The only feed is selected at opening, and its newsbox with it.
    await expect(row(feeds, 'Gazette')).toHaveAttribute('aria-selected', 'true');
    await expect(row(newsboxesList(main), 'Harbour News (0/0)')).toHaveAttribute('aria-selected', 'true');

    await main.getByRole('button', { name: 'Edit' }).click();
    const properties = windowCaptioned(page, 'Feed Properties');
    await expect(properties).toContainText('>> Harbour Town Gazette <<');
    const alias = properties.getByRole('textbox', { name: 'Alias (Friendly Name):' });
    await expect(alias).toHaveValue('Gazette');
    await expect(properties.getByRole('textbox', { name: 'URL:' })).toHaveValue(host.feeds.url('/gazette.rss'));
    await alias.fill('Harbour');
    await properties.getByRole('button', { name: 'OK' }).click();
    await expect(properties).toHaveCount(0);
    await expect(feeds.getByRole('row')).toHaveText(['Harbour']);
    await expect(row(feeds, 'Harbour')).toHaveAttribute('aria-selected', 'true');
    // One definition under the new alias, the name kept without a download.
    expect(await storedFeeds()).toEqual([expect.objectContaining({ alias: 'Harbour', name: 'Harbour Town Gazette' })]);
    expect(definitionSections()).toEqual(['Harbour']);
    expect(host.feeds.hits('/gazette.rss')).toBe(1);

    // Declined, the deletion changes nothing.
    await main.getByRole('button', { name: 'Delete' }).click();
    const confirmation = windowCaptioned(page, 'Tavi - Delete Feed');
    await expect(confirmation).toContainText('Press OK to unsubscribe this feed.');
    await confirmation.locator('.window-caption').click();
    await page.keyboard.press('Escape');
    await expect(confirmation).toHaveCount(0);
    await expect(feeds.getByRole('row')).toHaveText(['Harbour']);
    expect(definitionSections()).toEqual(['Harbour']);

    await main.getByRole('button', { name: 'Delete' }).click();
    await confirmation.getByRole('button', { name: 'OK' }).click();
    await expect(confirmation).toHaveCount(0);
    await expect(feeds.getByRole('row')).toHaveCount(0);
    for (const name of ['Edit', 'Delete', 'Download']) {
      await expect(main.getByRole('button', { name, exact: true })).toBeDisabled();
    }
    // The newsbox and its mailbox stay.
    await expect(row(newsboxesList(main), 'Harbour News (0/0)')).toBeVisible();
    expect(await storedFeeds()).toEqual([]);
    expect(definitionSections()).toEqual([]);

    // Without a download, closing reports nothing.
    await main.getByRole('button', { name: 'Close' }).click();
    await expect(mainWindow(page)).toHaveCount(0);
    await expect(page.locator('#host-blocked')).toBeHidden();
    await expect(page.locator('#desktop .window:visible')).toHaveCount(0);
  });

test('an alias already in use, in any letter case, is reported and nothing is stored twice',
  async ({ page }) => {
    host = await startHostOnNewFolder({ '/gazette.rss': gazette, '/courier.rss': courier },
      async (tavi, feeds) => {
        await tavi(['add', 'Gazette', feeds.url('/gazette.rss'), '--newsbox', 'Harbour News']);
      });
    const courierUrl = host.feeds.url('/courier.rss');
    await page.goto(host.address);
    const main = await openTavi(page);
    await main.getByRole('button', { name: 'Add', exact: true }).click();
    const properties = windowCaptioned(page, 'Feed Properties');
    const alias = properties.getByRole('textbox', { name: 'Alias (Friendly Name):' });
    await alias.fill('GAZETTE');
    await properties.getByRole('textbox', { name: 'URL:' }).click();
    await properties.getByRole('textbox', { name: 'URL:' }).fill(courierUrl);
    await properties.getByRole('button', { name: '[No newsbox selected]' }).click();
    const picker = windowCaptioned(page, 'Mailboxes');
    await picker.getByRole('treeitem', { name: 'Harbour News', exact: true }).click();
    await picker.getByRole('button', { name: 'Select' }).click();
    await properties.getByRole('button', { name: 'OK' }).click();

    const report = windowCaptioned(page, 'Tavi').filter({ hasText: 'There already exist the feed with the same alias.' });
    await expect(report).toContainText('Please specify unique alias for this feed.');
    await expect(report).toContainText('Feed: Valley Courier');
    await expect(report).toContainText(`URL: ${courierUrl}`);
    await expect(report.getByRole('button', { name: 'Verify this Feed...' })).toBeHidden();
    await report.getByRole('button', { name: 'OK' }).click();
    await expect(report).toHaveCount(0);
    // Feed Properties stays with what was typed, and nothing was stored.
    await expect(alias).toBeEnabled();
    await expect(alias).toHaveValue('GAZETTE');
    expect(await storedFeeds()).toEqual([expect.objectContaining({ alias: 'Gazette', url: host.feeds.url('/gazette.rss') })]);

    // Another alias goes through with the title the first OK learned.
    await alias.fill('Courier');
    await properties.getByRole('button', { name: 'OK' }).click();
    await expect(properties).toHaveCount(0);
    await expect(feedsList(main).getByRole('row')).toHaveText(['Courier', 'Gazette']);
    expect(host.feeds.hits('/courier.rss')).toBe(1);
    expect((await storedFeeds()).map((feed) => [feed.alias, feed.name]).sort()).toEqual([
      ['Courier', 'Valley Courier'], ['Gazette', 'Harbour Town Gazette'],
    ]);
    await main.getByRole('button', { name: 'Close' }).click();
    await expect(mainWindow(page)).toHaveCount(0);
  });

test('Stop during a download that never ends stops the run at once and reports the feed',
  async ({ page }) => {
    host = await startHostOnNewFolder({ '/gazette.rss': trickling(gazette), '/courier.rss': courier },
      async (tavi, feeds) => {
        await tavi(['add', 'Gazette', feeds.url('/gazette.rss'), '--name', 'Slow Gazette',
          '--newsbox', 'Harbour News']);
        await tavi(['add', 'Post', feeds.url('/courier.rss'), '--newsbox', 'Harbour News']);
      });
    const slowUrl = host.feeds.url('/gazette.rss');
    expect(host.feeds.hits('/courier.rss')).toBe(1);
    await page.goto(host.address);
    const main = await openTavi(page);
    const feeds = feedsList(main);
    await row(feeds, 'Post').click({ modifiers: ['Control'] });
    await expect(row(feeds, 'Gazette')).toHaveAttribute('aria-selected', 'true');
    await expect(row(feeds, 'Post')).toHaveAttribute('aria-selected', 'true');

    await main.getByRole('button', { name: 'Download' }).click();
    const stop = main.getByRole('button', { name: 'Stop' });
    await expect(stop).toBeEnabled();
    await expect(main.getByRole('button', { name: 'Close' })).toBeDisabled();
    await expect.poll(() => host.feeds.hits('/gazette.rss')).toBe(1);
    // The window answers while the transfer trickles: its clock goes on.
    const clock = main.locator('.label', { hasText: 'Current Time:' });
    const shown = await clock.textContent();
    await expect(clock).not.toHaveText(shown);

    // The transfer would run for minutes; Stop ends it and the run with it.
    const pressed = Date.now();
    await stop.click();
    const report = windowCaptioned(page, 'Tavi - Feed Error');
    await expect(report).toContainText('Feed: Slow Gazette');
    await expect(report).toContainText(`URL: ${slowUrl}`);
    expect(Date.now() - pressed).toBeLessThan(10_000);
    await expect(mainWindow(page)).toHaveCount(0);
    // The second feed's document may have been fetched ahead, but the feed
    // was not checked: its newsbox below stays empty.
    await report.getByRole('button', { name: 'OK' }).click();
    await expect(report).toHaveCount(0);

    // The host takes input again, and Tavi opens again with both feeds.
    await expect(page.locator('#host-blocked')).toBeHidden();
    await page.getByRole('button', { name: 'Harbour News (0/0)' }).click();
    await expect(page.locator('#message-list-title')).toHaveText('Harbour News: 0 messages');
    const again = await openTavi(page);
    await expect(feedsList(again).getByRole('row')).toHaveText(['Gazette', 'Post']);
    await again.getByRole('button', { name: 'Close' }).click();
    await expect(mainWindow(page)).toHaveCount(0);
  });
