// The News Board in a real tavi-host, as a person uses it: the articles a
// Download delivers appear on it while the run goes on, it sorts by the
// column clicked, and a row removed leaves the preview too.

const { test, expect } = require('@playwright/test');
const {
  mainWindow, openTavi, placeWindow, startHostOnNewFolder, windowCaptioned,
} = require('./host');
const { courier, linkedGazette } = require('./feeds');

test.use({ viewport: { width: 1600, height: 1000 } });

let host;

test.afterEach(async () => {
  const running = host;
  host = undefined;
  if (running) expect(await running.stop()).toEqual({ code: 0, signal: null });
});

const kFerry = 'Ferry timetable changes for the winter';
const kLighthouse = 'Lighthouse open day';
const kBridge = 'Bridge repairs finished early';

const headlineList = (board) => board.getByRole('grid');
const previewBody = (board) => board.frameLocator('iframe.browser').locator('body');

// The cells of the list's rows, in the order shown.
function rowCells(list) {
  return list.locator('.list-row').evaluateAll((rows) => rows.map((row) =>
    [...row.querySelectorAll('.list-cell')].map((cell) => cell.textContent)));
}

const headlines = async (list) => (await rowCells(list)).map((cells) => cells[0]);

// Two feeds subscribed by the tavi command, into two newsboxes, and nothing
// downloaded yet.
async function startWithTwoFeeds() {
  const documents = {};
  return startHostOnNewFolder(documents, async (tavi, feeds) => {
    documents['/gazette.rss'] = linkedGazette(feeds.url(''));
    documents['/courier.rss'] = courier;
    await tavi(['add', 'Gazette', feeds.url('/gazette.rss')]);
    await tavi(['add', 'Courier', feeds.url('/courier.rss')]);
  });
}

test('the articles a Download delivers appear on the board during the run, with their columns',
  async ({ page }) => {
    host = await startWithTwoFeeds();
    await page.goto(host.address);
    const main = await openTavi(page);
    // The main window made the board, hidden until an article comes.
    const board = windowCaptioned(page, 'News Board');
    await expect(board).toHaveCount(1);
    await expect(board).toBeHidden();

    const feeds = main.getByRole('grid', { name: 'Feeds' });
    await feeds.getByRole('row', { name: 'Gazette', exact: true }).click({ modifiers: ['Control'] });
    await expect(feeds.getByRole('row', { selected: true })).toHaveCount(2);
    await main.getByRole('button', { name: 'Download' }).click();

    // The report waits for the person over the host; the board is shown
    // already, with every row.
    const report = windowCaptioned(page, "You've Got New Articles!");
    await expect(report).toContainText("You've got 3 new articles.");
    await expect(board).toBeVisible();
    await expect(mainWindow(page)).toHaveCount(0);
    await report.getByRole('button', { name: 'OK' }).click();
    await expect(report).toHaveCount(0);

    // Sorted by headline at first. A feed is named by its alias, and an
    // article without an author by its feed's.
    await placeWindow(page, board, { left: 300, top: 120, width: 1000, height: 600 });
    const list = headlineList(board);
    await expect.poll(() => rowCells(list)).toEqual([
      [kBridge, 'Courier', 'Courier', '11/04/2025 09:00:00', expect.stringMatching(/^\d\d\/\d\d\/\d{4} /), 'Courier'],
      [kFerry, 'Gazette', 'desk@gazette.example (News Desk)', '11/03/2025 08:30:00',
        expect.any(String), 'Gazette'],
      [kLighthouse, 'Gazette', 'keeper@gazette.example (The Keeper)', '11/07/2025 17:45:00',
        expect.any(String), 'Gazette'],
    ]);
    // The preview shows every article, with its body, in the rows' order.
    const preview = previewBody(board);
    await expect(preview.getByRole('link')).toHaveText([kBridge, kFerry, kLighthouse]);
    await expect(preview).toContainText('The old stone bridge reopens on Thursday.');
    await expect(preview).toContainText('Climb all 212 steps on Saturday; bring a coat.');
    await expect(preview).toContainText('Newsbox: Courier');

    // The newsboxes hold the articles too.
    await expect(page.getByRole('button', { name: 'Gazette (2/2)' })).toBeVisible();
    await expect(page.getByRole('button', { name: 'Courier (1/1)' })).toBeVisible();
  });

// Opens Tavi, downloads both feeds and dismisses the report; the board
// shows itself, and is moved and sized to show its columns.
async function downloadBoth(page) {
  const main = await openTavi(page);
  const feeds = main.getByRole('grid', { name: 'Feeds' });
  await feeds.getByRole('row', { name: 'Gazette', exact: true }).click({ modifiers: ['Control'] });
  await main.getByRole('button', { name: 'Download' }).click();
  const report = windowCaptioned(page, "You've Got New Articles!");
  await report.getByRole('button', { name: 'OK' }).click();
  await expect(report).toHaveCount(0);
  const board = windowCaptioned(page, 'News Board');
  await placeWindow(page, board, { left: 300, top: 120, width: 1000, height: 600 });
  return board;
}

test('a column clicked sorts by it in the order kept, clicked again in the other order',
  async ({ page }) => {
    host = await startWithTwoFeeds();
    await page.goto(host.address);
    const board = await downloadBoth(page);
    const list = headlineList(board);
    const column = (title) => list.getByRole('columnheader', { name: title, exact: true });
    // Each step: the column clicked and the headlines after it.
    const steps = [
      ['Published', [kFerry, kBridge, kLighthouse]],
      ['Published', [kLighthouse, kBridge, kFerry]],
      // Another column keeps the order: descending.
      ['Headline', [kLighthouse, kFerry, kBridge]],
      ['Headline', [kBridge, kFerry, kLighthouse]],
      ['Newsbox', [kBridge, expect.any(String), expect.any(String)]],
      ['Newsbox', [expect.any(String), expect.any(String), kBridge]],
    ];
    await expect.poll(() => headlines(list)).toEqual([kBridge, kFerry, kLighthouse]);
    for (const [title, order] of steps) {
      await column(title).click();
      await expect.poll(() => headlines(list), { message: `after ${title}` }).toEqual(order);
    }

    // The preview is rebuilt only when asked: a remove rebuilds it in the
    // rows' order.
    await list.getByRole('row', { name: new RegExp(`^${kFerry}`) }).click();
    await board.getByRole('button', { name: 'Remove from the board' }).click();
    await expect.poll(() => headlines(list)).toEqual([kLighthouse, kBridge]);
    const preview = previewBody(board);
    await expect(preview.getByRole('link')).toHaveText([kLighthouse, kBridge]);
    await expect(preview).not.toContainText('From next Monday the first ferry leaves at 7:15.');
    await expect(board.getByRole('button', { name: 'Remove from the board' })).toBeDisabled();

    // Closed and shown again, the board keeps its rows and their order.
    await board.getByRole('button', { name: 'Close' }).click();
    await expect(board).toBeHidden();
    const main = await openTavi(page);
    await main.getByRole('button', { name: 'Newsboard' }).click();
    await expect(board).toBeVisible();
    await expect.poll(() => headlines(list)).toEqual([kLighthouse, kBridge]);
    // The board came up over the main window: its caption raises it.
    await main.locator('.window-caption').click();
    await main.getByRole('button', { name: 'Close' }).click();
    await expect(mainWindow(page)).toHaveCount(0);

    // Select All from the rows' menu, then Remove, empties the board and
    // its preview.
    await list.getByRole('row', { name: new RegExp(`^${kBridge}`) }).click({ button: 'right' });
    const popup = page.locator('.popup-menu');
    await popup.getByRole('menuitem', { name: 'Select All' }).click();
    await expect(list.getByRole('row', { selected: true })).toHaveCount(2);
    await list.getByRole('row', { name: new RegExp(`^${kBridge}`) }).click({ button: 'right' });
    await popup.getByRole('menuitem', { name: 'Remove' }).click();
    await expect(list.locator('.list-row')).toHaveCount(0);
    await expect(preview).toHaveText('');
    // With no row, a right click shows no menu.
    await list.locator('.list-body').click({ button: 'right' });
    await expect(popup).toHaveCount(0);
  });
