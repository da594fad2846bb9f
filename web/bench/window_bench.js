// The window renderer's benchmark (run by scripts/bench.sh; not a test):
// the window gallery with a list view of 10,000 rows, drawn in Debian's
// chromium. It reports
//  - the first draw: from opening the page to the frame that shows the
//    list's first rows;
//  - updates: from the request that inserts a row at the top of the list
//    (answered once the row is in the window system) to the row drawn in
//    the page, over many insertions one at a time (median and 90th
//    percentile);
//  - the page's memory: the JavaScript heap in use, from the browser's
//    performance metrics, after the updates.
//
//   TAVI_WINDOW_GALLERY=build/bench/tests/window_gallery node web/bench/window_bench.js

const path = require('node:path');
const { createRequire } = require('node:module');
const { execSync, spawn } = require('node:child_process');

// Playwright as the browser tests install it.
const { chromium } = createRequire(path.join(__dirname, '../tests/package.json'))('@playwright/test');

const kRows = 10000;
const kInsertions = Number(process.env.BENCH_INSERTIONS || 500);

function startGallery() {
  const child = spawn(process.env.TAVI_WINDOW_GALLERY, ['--rows', String(kRows)],
    { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve) => {
    let output = '';
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const found = output.match(/open (http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+) /);
      if (found) resolve({ child, address: found[1] });
    });
  });
}

// In the page, from its start: notes when the list's first rows are in the
// page and the frame that shows them has been drawn.
function noteFirstRows() {
  const observer = new MutationObserver(() => {
    if (!document.querySelector('.window[aria-label="Gallery rows"] .list-row')) return;
    observer.disconnect();
    requestAnimationFrame(() => setTimeout(() => { window.firstRowsDrawn = performance.now(); }));
  });
  document.addEventListener('DOMContentLoaded', () => {
    observer.observe(document.body, { childList: true, subtree: true });
  });
}

// In the page: inserts rows one at a time and times each until it is drawn.
async function timeInsertions(count) {
  const list = [...document.querySelectorAll('.window')]
    .find((made) => made.getAttribute('aria-label') === 'Gallery rows').querySelector('.list-rows');
  const drawn = (text) => new Promise((resolve) => {
    const look = () => [...list.querySelectorAll('.list-cell')].some((cell) => cell.textContent === text);
    if (look()) { resolve(); return; }
    const observer = new MutationObserver(() => {
      if (!look()) return;
      observer.disconnect();
      resolve();
    });
    observer.observe(list, { childList: true, subtree: true });
  });
  const times = [];
  for (let i = 0; i < count; i += 1) {
    const text = `bench row ${i}`;
    const shown = drawn(text);
    const start = performance.now();
    await fetch('/api/gallery/rows', {
      method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ text }),
    });
    await shown;
    times.push(performance.now() - start);
  }
  return times;
}

function percentile(sorted, fraction) {
  return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * fraction))];
}

async function main() {
  const { child, address } = await startGallery();
  const browser = await chromium.launch({
    executablePath: execSync('which chromium', { encoding: 'utf8' }).trim(),
    args: process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [],
  });
  try {
    const page = await browser.newPage({ viewport: { width: 1600, height: 1000 } });
    await page.addInitScript(noteFirstRows);
    await page.goto(address);
    const rows = page.locator('.window[aria-label="Gallery rows"] .list-row');
    await page.waitForFunction(() => window.firstRowsDrawn !== undefined);
    const firstDraw = await page.evaluate(() => window.firstRowsDrawn);
    const times = (await page.evaluate(timeInsertions, kInsertions)).sort((a, b) => a - b);
    const session = await page.context().newCDPSession(page);
    await session.send('Performance.enable');
    const { metrics } = await session.send('Performance.getMetrics');
    const heap = metrics.find((metric) => metric.name === 'JSHeapUsedSize').value;
    console.log(`list of ${kRows} rows, ${kInsertions} insertions one at a time`);
    console.log(`first draw (page opened to rows drawn): ${firstDraw.toFixed(0)} ms`);
    console.log(`update (insertion to row drawn): median ${percentile(times, 0.5).toFixed(1)} ms, ` +
      `90th percentile ${percentile(times, 0.9).toFixed(1)} ms, most ${times[times.length - 1].toFixed(1)} ms`);
    console.log(`rows drawn in the page: ${await rows.count()}`);
    console.log(`JavaScript heap in use: ${(heap / 1024 / 1024).toFixed(1)} MB`);
  } finally {
    await browser.close();
    child.kill('SIGTERM');
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
