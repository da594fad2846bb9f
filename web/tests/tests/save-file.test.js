// The save-file dialog in the page: it opens over the window that asked for
// it and blocks it, lists the folder's files of the chosen type, takes a
// type picked from its drop-down list and a typed name, and gives back the
// path in the folder it shows with the type's number.

const { test, expect } = require('@playwright/test');
const { startGallery, galleryLog } = require('./gallery');

test.use({ viewport: { width: 1600, height: 1000 } });

let gallery;

test.beforeEach(async () => {
  gallery = await startGallery(20);
});

test.afterEach(async () => {
  expect(await gallery.stop()).toEqual({ code: 0, signal: null });
});

test('a type picked from the drop-down list and a typed name give the path saved', async ({ page }) => {
  await page.goto(gallery.address);
  const rows = page.locator('.window[aria-label="Gallery rows"]');
  await rows.getByRole('button', { name: 'Save As...' }).click();

  const dialog = page.locator('.window[aria-label="Save Article As..."]');
  await expect(dialog).toBeVisible();
  await expect(rows.locator('.blocked-overlay')).toBeVisible();
  const types = dialog.getByRole('combobox', { name: 'Save as type:' });
  await expect(types).toHaveValue('News File (*.nws)');
  const folder = await dialog.locator('.label').nth(1).textContent();
  expect(folder).toMatch(/^\/.+/);

  await types.selectOption('E-Mail File (*.eml)');
  const name = dialog.getByRole('textbox', { name: 'File name:' });
  await name.click();
  await name.pressSequentially('article.eml');
  await dialog.getByRole('button', { name: 'Save', exact: true }).click();

  await expect(dialog).toHaveCount(0);
  await expect.poll(() => galleryLog(page)).toContain(`saved ${folder}/article.eml type 2`);
  await expect(rows.locator('.blocked-overlay')).toBeHidden();
});
