// What every test starts: a feed server on 127.0.0.1 (a small node server),
// a temporary data folder with feeds subscribed and downloaded by the real
// tavi command, and a real tavi-host on it.

const { execFile, spawn } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const { expect } = require('@playwright/test');

function programFromEnvironment(name) {
  const program = process.env[name];
  if (!program || !fs.existsSync(program)) {
    throw new Error(`${name} must name the built program (scripts/test.sh sets it)`);
  }
  return program;
}

const kHostProgram = programFromEnvironment('TAVI_HOST_PROGRAM');
const kTaviCommand = programFromEnvironment('TAVI_COMMAND');

// Serves `documents` ({path: text, or a function that answers the request
// itself}) and counts every request by path, known or not, so that a test
// sees whether anything fetched what a payload asks.
async function startFeedServer(documents) {
  const hits = new Map();
  const server = http.createServer((request, response) => {
    const requestPath = new URL(request.url, 'http://127.0.0.1').pathname;
    hits.set(requestPath, (hits.get(requestPath) || 0) + 1);
    const document = documents[requestPath];
    if (document === undefined) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
      return;
    }
    if (typeof document === 'function') {
      document(request, response);
      return;
    }
    response.writeHead(200, { 'Content-Type': 'application/rss+xml; charset=utf-8' });
    response.end(document);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  return {
    url: (requestPath) => base + requestPath,
    hits: (requestPath) => hits.get(requestPath) || 0,
    // Answers still trickling are cut off.
    close: () => new Promise((resolve) => {
      server.close(resolve);
      server.closeAllConnections();
    }),
  };
}

function makeDataFolder() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'tavi-host-test-'));
}

// Runs the tavi command on the data folder; rejects with its output when it
// fails. Never synchronously: the feed server answers on this process's
// event loop.
function tavi(dataFolder, args) {
  return new Promise((resolve, reject) => {
    execFile(kTaviCommand, ['--data', dataFolder, ...args], (error, stdout, stderr) => {
      if (error) reject(new Error(`tavi ${args.join(' ')} failed (${error.code}):\n${stdout}${stderr}`));
      else resolve(stdout);
    });
  });
}

// Starts tavi-host, with `environment` added to this process's, and waits
// for the line with the address to open.
async function startHost(args, environment = {}) {
  const child = spawn(kHostProgram, args, {
    stdio: ['ignore', 'pipe', 'pipe'],
    env: { ...process.env, ...environment },
  });
  let output = '';
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  const address = await new Promise((resolve, reject) => {
    const look = (chunk) => {
      output += chunk;
      const found = output.match(/open (http:\/\/127\.0\.0\.1:(\d+)\/\?token=[0-9a-f]+) /);
      if (found) resolve(found[1]);
    };
    child.stdout.on('data', look);
    child.stderr.on('data', (chunk) => { output += chunk; });
    exited.then(({ code }) => reject(new Error(`tavi-host ended (${code}) before serving:\n${output}`)));
  });
  const url = new URL(address);
  return {
    address,
    origin: url.origin,
    port: Number(url.port),
    output: () => output,
    // SIGTERM, as a service manager stops it; resolves with its exit.
    stop: async () => {
      child.kill('SIGTERM');
      return exited;
    },
  };
}

// A tavi-host over a new data folder made by `tavi init`, with a feed server
// serving `documents` (see startFeedServer). `prepare(tavi, feeds)`, when
// given, runs the tavi command on the folder before the host starts (tavi
// takes the argument list). The result also runs the tavi command on the
// folder (`tavi(args)`, for commands that only read while the host holds it);
// stop() also closes the feed server and removes the folder.
async function startHostOnNewFolder(documents, prepare) {
  const feeds = await startFeedServer(documents);
  const folder = makeDataFolder();
  const taviHere = (args) => tavi(folder, args);
  await taviHere(['init']);
  if (prepare) await prepare(taviHere, feeds);
  const host = await startHost(['--data', folder]);
  return {
    ...host,
    feeds,
    folder,
    tavi: taviHere,
    stop: async () => {
      const ended = await host.stop();
      await feeds.close();
      fs.rmSync(folder, { recursive: true, force: true });
      return ended;
    },
  };
}

// A tavi-host over a new data folder in which the tavi command has added
// one feed, served on loopback at `feedPath`, under `newsbox` and downloaded
// it. `document` is the feed's text, or makes it from the feed server's
// address.
async function startHostWithFeed(newsbox, feedPath, document) {
  const documents = {};
  return startHostOnNewFolder(documents, async (taviHere, feeds) => {
    documents[feedPath] = typeof document === 'function' ? document(feeds.url('')) : document;
    await taviHere(['add', newsbox, feeds.url(feedPath)]);
    await taviHere(['download']);
  });
}

// A tavi-host over a new data folder in which the tavi command has
// subscribed one feed, served at `feedPath`, into the newsbox `newsbox`, and
// downloaded nothing: its articles come with a Download in the page.
// `documents(base)` gives what the feed server serves from its address.
async function startHostSubscribed(newsbox, feedPath, documents) {
  const served = {};
  return startHostOnNewFolder(served, async (taviHere, feeds) => {
    Object.assign(served, documents(feeds.url('')));
    await taviHere(['add', newsbox, feeds.url(feedPath)]);
  });
}

// The stored text of the message of `mailbox` whose subject holds
// `subject`, as `tavi read --raw` prints it; `host` is what
// startHostOnNewFolder gave.
async function storedMessage(host, mailbox, subject) {
  const listed = await host.tavi(['show', mailbox]);
  const line = listed.split('\n').find((shown) => shown.includes(subject));
  return host.tavi(['read', mailbox, line.match(/\d+/)[0], '--raw']);
}

// The plug-in's windows in the page, found by their captions.
const windowCaptioned = (page, caption) => page.locator(`.window[aria-label="${caption}"]`);

// Tavi's main window; the information dialog is captioned "Tavi" too.
const mainWindow = (page) =>
  windowCaptioned(page, 'Tavi').filter({ has: page.getByRole('button', { name: 'Add', exact: true }) });

// Chooses Special > Tavi... and waits for the main window.
async function openTavi(page) {
  await page.getByRole('button', { name: 'Special' }).click();
  await page.getByRole('menuitem', { name: 'Tavi...' }).click();
  const main = mainWindow(page);
  await expect(main).toBeVisible();
  return main;
}

// Opens Tavi, downloads the feeds selected at opening and dismisses the
// report of new articles, which must say `reported`.
async function downloadInTavi(page, reported) {
  const main = await openTavi(page);
  await main.getByRole('button', { name: 'Download' }).click();
  const report = windowCaptioned(page, "You've Got New Articles!");
  await expect(report).toContainText(reported);
  await report.getByRole('button', { name: 'OK' }).click();
  await expect(report).toHaveCount(0);
  await expect(page.locator('#host-blocked')).toBeHidden();
}

// The News Board shows itself with the articles a check delivers, at its
// place over the host's menus and mailboxes; its close box hides it.
async function closeNewsBoard(page) {
  const board = windowCaptioned(page, 'News Board');
  await expect(board).toBeVisible();
  await board.getByRole('button', { name: 'Close' }).click();
  await expect(board).toBeHidden();
}

// Drags what `grip` finds by (dx, dy) with the mouse, as a person does.
async function drag(page, grip, dx, dy) {
  const box = await grip.boundingBox();
  const x = box.x + Math.min(20, box.width / 2);
  const y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx, y + dy, { steps: 4 });
  await page.mouse.up();
}

// The rectangle the window system holds for the window that `window` draws.
async function windowRect(window) {
  const handle = Number(await window.getAttribute('data-handle'));
  return window.page().evaluate(async (wanted) => {
    const snapshot = await (await fetch('/api/windows')).json();
    return snapshot.windows.find((state) => state.handle === wanted).rect;
  }, handle);
}

// Moves a plug-in window by its caption so that its top left corner is at
// (left, top) of the page, then sizes it by its grip to width x height;
// each step waits for the window system to take it.
async function placeWindow(page, window, { left, top, width, height }) {
  const at = await window.boundingBox();
  const before = await windowRect(window);
  await drag(page, window.locator('.caption-text'), left - at.x, top - at.y);
  await expect.poll(async () => (await windowRect(window)).left).toBe(before.left + left - at.x);
  const moved = await windowRect(window);
  await drag(page, window.locator('.resize-grip'), width - (moved.right - moved.left),
    height - (moved.bottom - moved.top));
  await expect.poll(async () => {
    const sized = await windowRect(window);
    return [sized.right - sized.left, sized.bottom - sized.top];
  }).toEqual([width, height]);
  await expect(window).toHaveCSS('width', `${width}px`);
}

module.exports = {
  closeNewsBoard,
  downloadInTavi,
  mainWindow,
  makeDataFolder,
  openTavi,
  placeWindow,
  startFeedServer,
  startHost,
  startHostOnNewFolder,
  startHostSubscribed,
  startHostWithFeed,
  storedMessage,
  tavi,
  windowCaptioned,
};
