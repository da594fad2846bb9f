// What tavi-host refuses: requests without its token or cookie, requests
// naming another host (DNS rebinding), changes from another page, and bad
// requests of its own page, which change nothing and leave the page working.

const http = require('node:http');
const { test, expect } = require('@playwright/test');
const { startHostWithFeed } = require('./host');
const { gazette } = require('./feeds');

let host;

test.beforeEach(async () => {
  host = await startHostWithFeed('Gazette', '/gazette.rss', gazette);
});

test.afterEach(async () => {
  expect(await host.stop()).toEqual({ code: 0, signal: null });
});

// A request with exactly the headers given (a browser would not let a page
// set Host or Origin); resolves with the status.
function rawRequest(port, { method = 'GET', path = '/', headers = {}, body } = {}) {
  return new Promise((resolve, reject) => {
    const request = http.request({ host: '127.0.0.1', port, method, path, headers }, (response) => {
      response.resume();
      resolve(response.statusCode);
    });
    request.on('error', reject);
    request.end(body);
  });
}

async function sessionCookie(context) {
  const [cookie] = await context.cookies();
  return `${cookie.name}=${cookie.value}`;
}

test('only the page of the printed address gets in, by its own name', async ({ page, context }) => {
  const own = { Host: `127.0.0.1:${host.port}` };
  expect(await rawRequest(host.port, { headers: own })).toBe(403);
  expect(await rawRequest(host.port, { path: '/api/mailboxes', headers: own })).toBe(403);
  expect(await rawRequest(host.port, { path: '/?token=0123', headers: own })).toBe(403);

  await page.goto(host.address);
  const [cookie] = await context.cookies();
  expect(cookie).toMatchObject({ httpOnly: true, sameSite: 'Strict' });
  const withCookie = { ...own, Cookie: await sessionCookie(context) };
  expect(await rawRequest(host.port, { path: '/api/mailboxes', headers: withCookie })).toBe(200);
  // DNS rebinding: another site's name pointed at this machine.
  const rebound = { ...withCookie, Host: `attacker.example:${host.port}` };
  expect(await rawRequest(host.port, { path: '/api/mailboxes', headers: rebound })).toBe(403);
  // A change must come from the page itself.
  const change = {
    method: 'POST',
    path: '/api/open-mailbox',
    body: JSON.stringify({ mailbox: 2 }),
  };
  const json = { ...withCookie, 'Content-Type': 'application/json' };
  expect(await rawRequest(host.port, { ...change, headers: json })).toBe(403);
  expect(await rawRequest(host.port,
    { ...change, headers: { ...json, Origin: 'http://attacker.example' } })).toBe(403);
  expect(await rawRequest(host.port, { ...change, headers: { ...json, Origin: host.origin } }))
    .toBe(200);
});

test('bad requests are refused, change nothing, and the page keeps working', async ({ page }) => {
  await page.goto(host.address);
  await expect(page.getByRole('button', { name: 'Gazette (2/2)' })).toBeVisible();
  const statuses = await page.evaluate(async () => {
    const post = (path, body, type = 'application/json') =>
      fetch(path, { method: 'POST', headers: { 'Content-Type': type }, body });
    const tree = await (await fetch('/api/mailboxes')).json();
    const gazette = tree.mailboxes.find((item) => item.name === 'Gazette').number;
    const answers = {
      badJson: await post('/api/open-message', '{"mailbox": '),
      unknownMailbox: await post('/api/open-message', '{"mailbox": 999999, "message": 1}'),
      unknownMessage: await post('/api/open-message', `{"mailbox": ${gazette}, "message": 999999}`),
      hugeBody: await post('/api/open-message', `{"pad": "${'x'.repeat(100 * 1024)}"}`),
      formPost: await post('/api/open-message', 'mailbox=1&message=1', 'text/plain'),
      unknownPath: await fetch('/api/format-disk'),
      wrongMethod: await fetch('/api/open-message'),
    };
    return Object.fromEntries(Object.entries(answers).map(([name, r]) => [name, r.status]));
  });
  expect(statuses).toEqual({
    badJson: 400,
    unknownMailbox: 404,
    unknownMessage: 404,
    hugeBody: 413,
    formPost: 415,
    unknownPath: 404,
    wrongMethod: 405,
  });
  // Nothing changed, and the page still works.
  await page.getByRole('button', { name: 'Gazette (2/2)' }).click();
  await expect(page.locator('#message-rows tr')).toHaveCount(2);
  await page.getByRole('cell', { name: 'Lighthouse open day' }).click();
  await expect(page.frameLocator('#message-body').locator('body')).toContainText('212 steps');
  await expect(page.getByRole('button', { name: 'Gazette (1/2)' })).toBeVisible();
});
