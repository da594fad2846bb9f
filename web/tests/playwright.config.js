// tavi-host's browser tests: Debian's chromium, never a downloaded browser.
// scripts/test.sh sets TAVI_HOST_PROGRAM and TAVI_COMMAND to the built
// programs.

const { defineConfig } = require('@playwright/test');
const { execSync } = require('node:child_process');

function systemChromium() {
  try {
    return execSync('which chromium', { encoding: 'utf8' }).trim();
  } catch {
    throw new Error('the browser tests need Debian\'s chromium on PATH (apt-get install chromium)');
  }
}

// Quiet and self-contained; as root the browser's own sandbox cannot run.
const kBrowserFlags = [
  '--disable-gpu',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--no-first-run',
];
const runsAsRoot = typeof process.getuid === 'function' && process.getuid() === 0;

module.exports = defineConfig({
  testDir: './tests',
  testMatch: '*.test.js',
  timeout: 60_000,
  expect: { timeout: 10_000 },
  fullyParallel: false,
  workers: 1,
  reporter: [['list']],
  use: {
    browserName: 'chromium',
    launchOptions: {
      executablePath: systemChromium(),
      args: runsAsRoot ? ['--no-sandbox', ...kBrowserFlags] : kBrowserFlags,
    },
    trace: 'off',
  },
});
