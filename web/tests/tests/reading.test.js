// A person opens the host and reads what the plug-in delivered; what
// changes reaches every open page as it happens.

const { test, expect } = require('@playwright/test');
const { startHostWithFeed } = require('./host');
const { gazette } = require('./feeds');

let host;

test.beforeEach(async () => {
  host = await startHostWithFeed('Gazette', '/gazette.rss', gazette);
});

test.afterEach(async () => {
  // The host stops cleanly on SIGTERM whatever the pages did.
  expect(await host.stop()).toEqual({ code: 0, signal: null });
});

test('a person opens the host and reads a delivered article', async ({ page }) => {
  await page.goto(host.address);
  // The token is exchanged for the cookie and leaves the address.
  await expect(page).toHaveURL(`${host.origin}/`);
  await page.getByRole('button', { name: 'Gazette (2/2)' }).click();
  await expect(page.locator('#message-list-title')).toHaveText('Gazette: 2 messages');
  await page.getByRole('cell', { name: 'Lighthouse open day' }).click();

  const headers = page.locator('#message-headers');
  await expect(headers).toContainText('Lighthouse open day');
  await expect(headers.getByRole('link', { name: 'http://gazette.example/lighthouse' }))
    .toHaveAttribute('href', 'http://gazette.example/lighthouse');
  const frame = page.locator('#message-body');
  await expect(frame).toHaveAttribute('sandbox', 'allow-popups allow-popups-to-escape-sandbox');
  await expect(page.frameLocator('#message-body').locator('body'))
    .toContainText('Climb all 212 steps on Saturday; bring a coat.');
  // Opened, the message is read.
  await expect(page.getByRole('button', { name: 'Gazette (1/2)' })).toBeVisible();
  await expect(page.locator('#message-rows tr.read')).toHaveText(/Lighthouse open day/);
});

test('changes reach every open page, and closing the page stops nothing', async ({ context }) => {
  const reader = await context.newPage();
  const watcher = await context.newPage();
  await reader.goto(host.address);
  await watcher.goto(`${host.origin}/`);
  await expect(watcher.getByRole('button', { name: 'Gazette (2/2)' })).toBeVisible();

  // A page in the background gets no animation frames, which clicks wait for.
  await reader.bringToFront();
  await reader.getByRole('button', { name: 'Gazette (2/2)' }).click();
  await reader.getByRole('cell', { name: 'Ferry timetable changes for the winter' }).click();
  await expect(watcher.getByRole('button', { name: 'Gazette (1/2)' })).toBeVisible();

  // The plug-in's menu item sets the host's status text through automation.
  await reader.getByRole('button', { name: 'Special' }).click();
  await reader.getByRole('menuitem', { name: 'Tavi...' }).click();
  await expect(watcher.locator('#status-text')).toHaveText('Tavi. For Help, press F1.');
  // It opens Tavi's window over the host, listing the feed; Close ends it.
  const main = reader.locator('[aria-label="Tavi"]');
  await expect(main).toContainText('Gazette');
  await main.getByRole('button', { name: 'Close' }).click();
  await expect(main).toHaveCount(0);
  // Its settings show the About box, which waits for the person over the
  // host it blocks; closing the pages leaves it waiting, and a page opened
  // later shows it.
  const about = (page) => page.locator('[aria-label="About Tavi"]');
  await watcher.bringToFront();
  await watcher.getByRole('button', { name: 'Tools' }).click();
  await watcher.getByRole('menuitem', { name: 'Tavi 0.1 Settings...' }).click();
  await expect(about(reader)).toContainText('Version: 0.1 / Final');
  await expect(watcher.locator('#host-blocked')).toBeVisible();

  await reader.close();
  await watcher.close();
  const reopened = await context.newPage();
  await reopened.goto(`${host.origin}/`);
  await expect(about(reopened)).toContainText('Version: 0.1 / Final');
  await about(reopened).getByRole('button', { name: /^(OK|Close)$/ }).first().click();
  await expect(about(reopened)).toHaveCount(0);
  await expect(reopened.locator('#host-blocked')).toBeHidden();
  await expect(reopened.getByRole('button', { name: 'Gazette (1/2)' })).toBeVisible();
  await expect(reopened.locator('#status-text')).toHaveText('Tavi. For Help, press F1.');
});

test('with the Automation Server off, the plug-in tells the person what to switch on', async ({ page }) => {
  await page.goto(host.address);
  const tools = page.getByRole('button', { name: 'Tools' });
  const automation = page.getByRole('menuitemcheckbox', { name: 'Automation Server' });
  await tools.click();
  await expect(automation).toHaveAttribute('aria-checked', 'true');
  await automation.click();

  await page.getByRole('button', { name: 'Special' }).click();
  await page.getByRole('menuitem', { name: 'Tavi...' }).click();
  const error = page.locator('[aria-label="Tavi - COM Error"]');
  await expect(error).toContainText('Automation enabled from this machine');
  await expect(page.locator('#host-blocked')).toBeVisible();
  await error.getByRole('button', { name: 'OK' }).click();
  await expect(error).toHaveCount(0);
  await expect(page.locator('#host-blocked')).toBeHidden();
  await expect(page.locator('#status-text')).not.toHaveText('Tavi. For Help, press F1.');

  // Switched back on, the same entry goes through.
  await tools.click();
  await automation.click();
  await page.getByRole('button', { name: 'Special' }).click();
  await page.getByRole('menuitem', { name: 'Tavi...' }).click();
  await expect(page.locator('#status-text')).toHaveText('Tavi. For Help, press F1.');
  const main = page.locator('[aria-label="Tavi"]');
  await main.getByRole('button', { name: 'Close' }).click();
  await expect(main).toHaveCount(0);
  await expect(page.locator('#host-blocked')).toBeHidden();
});

test('the Tavi window opens its help in a new tab of the host', async ({ page, context }) => {
  await page.goto(host.address);
  await page.getByRole('button', { name: 'Special' }).click();
  await page.getByRole('menuitem', { name: 'Tavi...' }).click();
  const main = page.locator('[aria-label="Tavi"]');
  const opened = context.waitForEvent('page');
  await main.getByRole('button', { name: 'Help' }).click();
  const help = await opened;
  await help.waitForURL(new RegExp(`^${host.origin}/help/\\d+\\.htm$`));
  await expect(help.locator('h1')).toHaveText('Downloading Articles');
  await main.getByRole('button', { name: 'Close' }).click();
  await expect(main).toHaveCount(0);
});
