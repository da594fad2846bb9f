// The README's picture of tavi-host: the demo with an article open and the
// plug-in's main window over it, made with the same chromium when TAVI_HOST_SCREENSHOT names the file to write
// (skipped otherwise).

const { test, expect } = require('@playwright/test');
const { startHost } = require('./host');

const kScreenshot = process.env.TAVI_HOST_SCREENSHOT;

test('the demo with an article open and the main window', async ({ page }) => {
  test.skip(!kScreenshot, 'TAVI_HOST_SCREENSHOT names no file');
  const host = await startHost(['--demo']);
  try {
    await page.setViewportSize({ width: 1200, height: 720 });
    await page.goto(host.address);
    await page.getByRole('button', { name: 'Gazette (3/3)' }).click();
    await page.getByRole('cell', { name: 'Ferry timetable changes for the winter' }).click();
    await expect(page.frameLocator('#message-body').locator('body')).toContainText('first ferry');
    await page.getByRole('button', { name: 'Special' }).click();
    await page.getByRole('menuitem', { name: 'Tavi...' }).click();
    await expect(page.locator('#status-text')).toHaveText('Tavi. For Help, press F1.');
    await expect(page.locator('.window[aria-label="Tavi"]').getByRole('row', { name: /Gazette/ }).first())
      .toBeVisible();
    await page.screenshot({ path: kScreenshot });
  } finally {
    expect(await host.stop()).toEqual({ code: 0, signal: null });
  }
});
