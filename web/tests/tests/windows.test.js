// The plug-in's windows in the page, drawn from the window system by one
// generic renderer: every dialog template of the plug-in draws each of its
// controls at its place with its text; what a person does reaches the
// windows; modal boxes block their owner until answered; a hostile text
// stays text; bad input is refused and changes nothing.

const { test, expect } = require('@playwright/test');
const { startGallery, galleryLog } = require('./gallery');

test.use({ viewport: { width: 1600, height: 1000 } });

let gallery;

test.beforeEach(async () => {
  gallery = await startGallery();
});

test.afterEach(async () => {
  expect(await gallery.stop()).toEqual({ code: 0, signal: null });
});

const rowsWindow = (page) => page.locator('.window[aria-label="Gallery rows"]');

async function expectLogged(page, line) {
  await expect.poll(() => galleryLog(page)).toContain(line);
}

test('every control of every dialog template is drawn at its place with its text', async ({ page }) => {
  await page.goto(gallery.address);
  await expect(rowsWindow(page)).toBeVisible();
  const problems = await page.evaluate(async () => {
    const snapshot = await (await fetch('/api/windows')).json();
    const found = [];
    const byHandle = new Map(snapshot.windows.map((state) => [state.handle, state]));
    const clientOf = (handle) => {
      const made = document.querySelector(`[data-handle="${handle}"]`);
      return made.querySelector(':scope > .window-client') || made;
    };
    for (const state of snapshot.windows) {
      const made = document.querySelector(`[data-handle="${state.handle}"]`);
      const name = `${state.kind} ${state.control_id} "${state.text}" in ${state.parent}`;
      if (!made) { found.push(`${name}: not drawn`); continue; }
      if (state.parent === 0) {
        if (made.getAttribute('aria-label') !== state.text) found.push(`${name}: caption`);
        continue;
      }
      if (!state.visible || !byHandle.get(state.parent).visible) {
        if (made.checkVisibility()) found.push(`${name}: shown though hidden`);
        continue;
      }
      const box = made.getBoundingClientRect();
      const client = clientOf(state.parent).getBoundingClientRect();
      const place = [box.left - client.left, box.top - client.top, box.width, box.height].map(Math.round);
      const wanted = [state.rect.left, state.rect.top, state.rect.right - state.rect.left,
        state.rect.bottom - state.rect.top];
      if (place.join() !== wanted.join()) found.push(`${name}: at ${place} not ${wanted}`);
      const shownText = state.style.includes('no_prefix') ? state.text
        : state.text.replace(/&(&?)/g, '$1');
      if (['label', 'button', 'check_box', 'group_box'].includes(state.kind) && made.textContent !== shownText) {
        found.push(`${name}: shows "${made.textContent}"`);
      }
    }
    return { found, windows: snapshot.windows.length };
  });
  expect(problems.found).toEqual([]);
  expect(problems.windows).toBeGreaterThan(60);
  for (const caption of ['About', 'Feed Properties', 'Mailboxes', 'News Board', 'Article', 'New Mailbox']) {
    await expect(page.locator(`.window[aria-label="${caption}"]`)).toBeVisible();
  }
  // The article viewer's menu bar and toolbar, with their states.
  const article = page.locator('.window[aria-label="Article"]');
  await expect(article.locator('.menu-bar-title').first()).toHaveText('Article');
  await expect(article.locator('.toolbar-button').first()).toHaveAttribute('title', /.+/);
});

test('what a person does reaches the windows, and a modal box blocks its owner until answered',
  async ({ page }) => {
    await page.goto(gallery.address);
    const rows = rowsWindow(page);
    await rows.locator('.window-caption').click();

    await rows.getByRole('button', { name: 'Message box' }).click();
    const box = page.getByRole('alertdialog', { name: 'Gallery' });
    await expect(box).toContainText('Keep <b>all</b> rows?');
    await expect(rows.locator('.blocked-overlay')).toBeVisible();
    await box.getByRole('button', { name: 'Yes' }).click();
    await expect(box).toHaveCount(0);
    await expectLogged(page, 'box 6');
    await expect(rows.locator('.blocked-overlay')).toBeHidden();

    // The owner takes input again: a click, typing, a list selection.
    await rows.getByRole('checkbox', { name: 'Checked' }).click();
    await expect(rows.getByRole('checkbox', { name: 'Checked' })).toHaveAttribute('aria-checked', 'true');
    await expectLogged(page, 'command 104 0');
    const digits = rows.locator('input.edit').first();
    await digits.click();
    await digits.pressSequentially('12a3');
    await expect(digits).toHaveValue('123');
    await expectLogged(page, 'text 103 123');
    await rows.getByRole('row', { name: /Row 3 3/ }).click();
    await expect(rows.getByRole('row', { name: /Row 3 3/ })).toHaveClass(/selected/);
    await expectLogged(page, 'notify 100 -2');

    // A menu command from the menu bar.
    await rows.getByRole('button', { name: 'File' }).click();
    await expect(rows.getByRole('menuitem', { name: 'Disabled' })).toBeDisabled();
    await rows.getByRole('menuitem', { name: 'Say hello' }).click();
    await expectLogged(page, 'command 201 0');

    // A right click on a row shows the window's popup menu; its answer is the command.
    await rows.getByRole('row', { name: /Row 5 5/ }).click({ button: 'right' });
    const popup = page.locator('.popup-menu');
    await expect(popup).toBeVisible();
    const entry = popup.locator('.menu-entry:not([disabled])').first();
    const chosen = await entry.getAttribute('aria-label');
    await entry.click();
    await expect(popup).toHaveCount(0);
    const commands = (await galleryLog(page)).filter((line) => line.startsWith('command '));
    expect(commands.length).toBeGreaterThan(2);
    expect(chosen).not.toBe('');
  });

test('keys go to the focused window with their modifiers, and Tab moves the focus', async ({ page }) => {
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  await rows.getByRole('row', { name: /Row 2 2/ }).click();
  await page.keyboard.press('F1');
  await page.keyboard.press('Shift+F10');
  await page.keyboard.press('Control+Alt+KeyK');
  await expectLogged(page, 'key 112 0');
  await expectLogged(page, 'key 121 1');
  await expectLogged(page, 'key 75 6');
  await page.keyboard.press('Escape');
  await expectLogged(page, 'command 2 0');

  // Tab moves the window system's focus from the digits to the check box,
  // and the page's focus follows, so Space checks it.
  await rows.locator('input.edit').first().click();
  await page.keyboard.press('Tab');
  await expect(rows.getByRole('checkbox', { name: 'Checked' })).toBeFocused();
  await page.keyboard.press('Space');
  await expect(rows.getByRole('checkbox', { name: 'Checked' })).toHaveAttribute('aria-checked', 'true');
  await page.keyboard.press('Enter');
  await expectLogged(page, 'command 1 0');
});

test('the splitter bar is dragged with its cursor and outline, and stops at its limits',
  async ({ page }) => {
    await page.goto(gallery.address);
    const rows = rowsWindow(page);
    await rows.locator('.window-caption').click();
    const bar = rows.locator('.label.notify');
    await expect(bar).toHaveCSS('cursor', 'row-resize');
    // The bar, the list above it and the tree below it, in the window's client.
    const places = () => page.evaluate(async () => {
      const snapshot = await (await fetch('/api/windows')).json();
      const rowsWindow = snapshot.windows.find((state) => state.text === 'Gallery rows');
      const control = (id) => snapshot.windows.find(
        (state) => state.parent === rowsWindow.handle && state.control_id === id).rect;
      return { list: control(100), bar: control(105), tree: control(108) };
    });
    const before = await places();
    const margin = 30;

    // Pulled far below the tree's end, it stops the margin above it.
    let box = await bar.boundingBox();
    await page.mouse.move(box.x + 50, box.y + 2);
    await page.mouse.down();
    await page.mouse.move(box.x + 50, box.y + 600, { steps: 6 });
    await expect(rows.locator('.drag-outline')).toBeVisible();
    await expect(page.locator('#capture-shield')).toHaveCSS('cursor', 'row-resize');
    await page.mouse.up();
    await expect(rows.locator('.drag-outline')).toHaveCount(0);
    await expect(page.locator('#capture-shield')).toBeHidden();
    const down = before.tree.bottom - margin - before.bar.bottom;
    await expectLogged(page, `split ${down}`);
    let after = await places();
    expect(after.bar.bottom).toBe(before.tree.bottom - margin);
    expect(after.list.bottom).toBe(after.bar.top - 1);
    expect(after.tree.top).toBe(after.bar.bottom + 1);
    expect(after.tree.bottom).toBe(before.tree.bottom);

    // Pushed far above the list's top, it stops the margin below it.
    box = await bar.boundingBox();
    await page.mouse.move(box.x + 50, box.y + 2);
    await page.mouse.down();
    await page.mouse.move(box.x + 50, box.y - 800, { steps: 6 });
    await page.mouse.up();
    await expectLogged(page, `split ${before.list.top + margin - after.bar.top}`);
    after = await places();
    expect(after.bar.top).toBe(before.list.top + margin);
    expect(after.list.bottom).toBe(after.bar.top - 1);
    expect(after.tree.top).toBe(after.bar.bottom + 1);
  });

test('a window is moved by its caption and a resizable one sized by its grip', async ({ page }) => {
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  const rectOf = () => page.evaluate(async () => {
    const snapshot = await (await fetch('/api/windows')).json();
    return snapshot.windows.find((state) => state.text === 'Gallery rows').rect;
  });
  const before = await rectOf();
  const caption = await rows.locator('.caption-text').boundingBox();
  await page.mouse.move(caption.x + 20, caption.y + 5);
  await page.mouse.down();
  await page.mouse.move(caption.x + 70, caption.y + 35, { steps: 3 });
  await page.mouse.up();
  await expect.poll(rectOf).toEqual({
    left: before.left + 50, top: before.top + 30, right: before.right + 50, bottom: before.bottom + 30,
  });
  const grip = await rows.locator('.resize-grip').boundingBox();
  await page.mouse.move(grip.x + 6, grip.y + 6);
  await page.mouse.down();
  await page.mouse.move(grip.x + 46, grip.y + 26, { steps: 3 });
  await page.mouse.up();
  await expect.poll(rectOf).toEqual({
    left: before.left + 50, top: before.top + 30, right: before.right + 90, bottom: before.bottom + 50,
  });
  await expect(rows).toHaveCSS('width', `${before.right - before.left + 40}px`);
});

test('a hostile text in a label or a list row stays text', async ({ page }) => {
  const dialogs = [];
  page.on('dialog', async (dialog) => {
    dialogs.push(dialog.message());
    await dialog.dismiss();
  });
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  const hostile = '<img src=x onerror="window.__pwned=\'row\'"><script>window.__pwned=\'row-script\'</script>';
  await expect(rows.locator('.label', { hasText: 'onerror' })).toHaveText(/^<img src=x onerror=/);
  await page.evaluate((text) => fetch('/api/gallery/rows', {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ text }),
  }), hostile);
  await expect(rows.locator('.list-row').first()).toContainText(hostile);
  await expect(rows.frameLocator('iframe.browser').locator('#shown')).toHaveText('Browser HTML');
  expect(await page.evaluate(() => window.__pwned)).toBeUndefined();
  await expect(page.locator('#desktop img[src]:not([src^="/api/icons/"])')).toHaveCount(0);
  await expect(page.locator('#desktop script')).toHaveCount(0);
  await expect(rows.locator('iframe.browser')).toHaveAttribute('sandbox', '');
  expect(dialogs).toEqual([]);
});

// The browser control's page (tests/web/gallery_rows_window.cpp) sets
// parent.__pwned by every way a page could run something, and links to
// 127.0.0.1:9, where nothing listens; the gallery logs what its control
// tells it and keeps a person's link out of the control, as the News Board
// does.
test('a link in a browser control reaches the control, and its frame runs nothing and stays', async ({ page, context }) => {
  const dialogs = [];
  page.on('dialog', async (dialog) => {
    dialogs.push(dialog.message());
    await dialog.dismiss();
  });
  const requests = [];
  context.on('request', (request) => requests.push(request.url()));
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  const browser = rows.frameLocator('iframe.browser');
  await expect(browser.locator('#shown')).toHaveText('Browser HTML');
  const link = browser.locator('#away');
  await expect(link).toHaveAttribute('href',
    /^\/window-link\/\d+\?key=[0-9a-f]{64}&to=http%3A%2F%2F127\.0\.0\.1%3A9%2Fnext%3Fa%3D1%26b%3D2&new=1$/);
  await expect(link).not.toHaveAttribute('target', /.*/);
  const frame = page.frames().find((candidate) => candidate.url().includes('/window-html/'));
  await frame.waitForLoadState('load');
  const shownAt = frame.url();

  await link.click();
  const address = 'http://127.0.0.1:9/next?a=1&b=2';
  await expect.poll(async () => (await galleryLog(page)).filter((line) => line.startsWith('browser ')))
    .toEqual([`browser new-window ${address}`, `browser navigate ${address}`]);
  // The link's answer had no content: the frame keeps its document.
  expect(frame.url()).toBe(shownAt);
  await expect(browser.locator('#shown')).toHaveText('Browser HTML');
  expect(await page.evaluate(() => window.__pwned)).toBeUndefined();
  expect(requests.filter((url) => url.startsWith('http://127.0.0.1:9/'))).toEqual([]);
  expect(page.url()).toBe(`${gallery.origin}/`);
  expect(dialogs).toEqual([]);
});

test('bad window input is refused, changes nothing, and the page keeps working', async ({ page }) => {
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  await expect(rows).toBeVisible();
  const statuses = await page.evaluate(async () => {
    const snapshot = await (await fetch('/api/windows')).json();
    const gallery = snapshot.windows.find((state) => state.text === 'Gallery rows');
    const list = snapshot.windows.find((state) => state.kind === 'list_view' && state.parent === gallery.handle);
    const post = (body) => fetch('/api/input', {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body),
    }).then((answer) => answer.status);
    return {
      unknownKind: await post({ kind: 'format', window: gallery.handle }),
      badRow: await post({ kind: 'list_click', window: list.handle, row: 'one', click: 'left' }),
      missingRow: await post({ kind: 'list_click', window: list.handle, row: 10000, click: 'left' }),
      goneWindow: await post({ kind: 'click', window: 999999 }),
      unknownBox: await post({ kind: 'message_box', id: 424242, answer: 1 }),
      disabledCommand: await post({ kind: 'command', window: gallery.handle, command: 202 }),
      hugeRows: (await fetch(`/api/windows/${list.handle}/rows?first=0&count=100000`)).status,
      unknownIcon: (await fetch('/api/icons/999999.svg')).status,
    };
  });
  expect(statuses).toEqual({
    unknownKind: 400,
    badRow: 400,
    missingRow: 409,
    goneWindow: 404,
    unknownBox: 404,
    disabledCommand: 409,
    hugeRows: 200,
    unknownIcon: 404,
  });
  expect(await galleryLog(page)).toEqual([]);
  await rows.getByRole('button', { name: 'File' }).click();
  await rows.getByRole('menuitem', { name: 'Say hello' }).click();
  await expectLogged(page, 'command 201 0');
});

test('ten thousand rows are drawn a screenful at a time', async ({ page }) => {
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  await expect(rows.getByRole('row', { name: /Row 0 0/ })).toBeVisible();
  expect(await rows.locator('.list-row').count()).toBeLessThan(60);
  await rows.locator('.list-body').evaluate((body) => { body.scrollTop = body.scrollHeight; });
  await expect(rows.getByRole('row', { name: /Row 9999 9999/ })).toBeVisible();
  expect(await rows.locator('.list-row').count()).toBeLessThan(60);
});

test('the shell opens a web address in a new tab and refuses a file', async ({ page, context }) => {
  await page.goto(gallery.address);
  const rows = rowsWindow(page);
  await rows.locator('.window-caption').click();
  const address = rows.locator('input.edit').nth(1);
  const open = rows.getByRole('button', { name: 'Open address' });

  await address.fill(`${gallery.origin}/page/icon.svg`);
  const opened = context.waitForEvent('page');
  await open.click();
  const tab = await opened;
  await tab.waitForURL(`${gallery.origin}/page/icon.svg`);
  await expectLogged(page, 'shell opened');

  const pages = context.pages().length;
  await address.fill('file:///etc/passwd');
  await open.click();
  await expectLogged(page, 'shell refused');
  expect(context.pages().length).toBe(pages);
});

test('the information dialog shows each of its messages over its owner, and only a feed error offers Verify',
  async ({ page, context }) => {
    await context.route('https://validator.w3.org/**', (route) => route.fulfill({ body: 'validator' }));
    await page.goto(gallery.address);
    const rows = rowsWindow(page);
    const messages = [
      { entry: 'Duplicate alias', command: 301, caption: 'Tavi', text: 'same alias' },
      { entry: 'Automation error', command: 302, caption: 'Tavi - COM Error', text: 'Invalid class string' },
      { entry: 'New articles', command: 303, caption: "You've Got New Articles!", text: '3 new articles for this feed.' },
      { entry: 'No new articles', command: 304, caption: 'No New Articles :-(', text: 'no new articles for this feed' },
      { entry: 'Invalid feed', command: 305, caption: 'Tavi - Feed Error', text: 'not a valid RSS/Atom feed' },
      { entry: 'Valid feed', command: 306, caption: 'Tavi', text: 'This is a valid RSS/Atom feed.' },
    ];
    for (const message of messages) {
      await rows.getByRole('button', { name: 'Information' }).click();
      await rows.getByRole('menuitem', { name: message.entry, exact: true }).click();
      // The gallery also shows the main window, captioned "Tavi" too.
      const dialog = page.locator(`.window[aria-label="${message.caption}"]`, { hasText: message.text });
      await expect(dialog).toBeVisible();
      await expect(rows.locator('.blocked-overlay')).toBeVisible();
      const verify = dialog.getByRole('button', { name: 'Verify this Feed...' });
      if (message.command === 305) {
        await expect(dialog).toContainText('URL: http://127.0.0.1:9/feed?cat=2&format=rss');
        const opened = context.waitForEvent('page');
        await verify.click();
        const tab = await opened;
        await tab.waitForURL('https://validator.w3.org/feed/check.cgi?url='
          + 'http%3A%2F%2F127.0.0.1%3A9%2Ffeed%3Fcat%3D2%26format%3Drss');
        await tab.close();
        await expect(dialog).toBeVisible();
      } else {
        await expect(verify).toBeHidden();
      }
      await dialog.getByRole('button', { name: 'OK' }).click();
      await expect(dialog).toHaveCount(0);
      await expectLogged(page, `information ${message.command} 1`);
      await expect(rows.locator('.blocked-overlay')).toBeHidden();
    }
  });
