// The page on phones and tablets, emulated as a new user would open it:
// the game fits the viewport, plays by touch, survives a turn of the
// device, keeps the browser's gestures off, installs, and plays offline.
// With ZANDREL_WEB_PICTURES set to a folder, each viewport's picture is
// written there (docs/ keeps them).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, rmSync, writeFileSync, readFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import {
  WEB_DIR, canvasImage, columnsOf, eventually, startBrowser, ticks, waitForWindow, windowRect,
  windows,
} from './harness.mjs';
import { serve } from './server.mjs';

const WHITE = 0xffffff;
const PICTURES = process.env.ZANDREL_WEB_PICTURES;

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.close(); });

async function openDevice(width, height, ratio, url = session.url) {
  const page = await session.browser.newPage();
  await page.emulate({
    userAgent: 'Mozilla/5.0 (Linux; Android 14; Phone) Mobile',
    viewport: { width, height, deviceScaleFactor: ratio, isMobile: true, hasTouch: true },
  });
  await page.goto(url);
  return page;
}

// Layer pixels to CSS pixels of the viewport, from the canvas's box.
async function mapping(page) {
  return page.$eval('#screen', (c) => {
    const box = c.getBoundingClientRect();
    return { left: box.left, top: box.top, shown: box.width / c.width };
  });
}

// Whole CSS pixels, as touches arrive.
function toViewport(map, x, y) {
  return [Math.round(map.left + (x + 0.5) * map.shown), Math.round(map.top + (y + 0.5) * map.shown)];
}

// The layer pixel a whole CSS pixel falls on.
function toLayer(map, cssX) {
  return Math.floor((cssX - map.left) / map.shown);
}

async function tap(page, x, y) {
  await page.touchscreen.tap(...toViewport(await mapping(page), x, y));
}

// Taps Game, then New on the drop-down.
async function newGameByTouch(page, main) {
  await tap(page, main[0] + 18, main[1] + 31);
  const menu = await eventually(async () => {
    const found = (await windows(page)).find((w) => w.title !== 'Zandrel');
    assert.ok(found, 'the Game menu opened');
    return found.rect;
  });
  await tap(page, menu[0] + 20, menu[1] + 10);
}

// Drags a finger across the field; the ball's left edge follows its x.
async function steerByTouch(page, main) {
  const field = [main[0] + 3, main[1] + 81, main[2] - 3, main[3] - 3];
  const map = await mapping(page);
  const y = field[1] + 120;
  await page.touchscreen.touchStart(...toViewport(map, field[0] + 100, y));
  for (const aim of [field[0] + 150, field[0] + 450]) {
    const finger = toViewport(map, aim, y);
    const x = toLayer(map, finger[0]);
    await page.touchscreen.touchMove(...finger);
    await eventually(async () => {
      const ball = columnsOf(await canvasImage(page), WHITE, field);
      assert.ok(ball && Math.abs(ball.min - x) <= 1, `ball at ${ball && ball.min}, finger at ${x}`);
    });
  }
  await page.touchscreen.touchEnd();
}

async function assertInside(page, main, what) {
  const map = await mapping(page);
  const view = await page.evaluate(() => [innerWidth, innerHeight]);
  const [left, top] = toViewport(map, main[0], main[1]);
  const [right, bottom] = toViewport(map, main[2] - 1, main[3] - 1);
  assert.ok(left >= 0 && top >= 0 && right <= view[0] && bottom <= view[1],
    `${what}: the window ${main} shows at ${[left, top, right, bottom]} in ${view}`);
}

const DEVICES = [
  ['phone-portrait', 360, 640, 3], ['phone-390-portrait', 390, 844, 3],
  ['phone-landscape', 844, 390, 3], ['phone-740-landscape', 740, 360, 2],
  ['tablet', 820, 1180, 2], ['tablet-landscape', 1024, 768, 2],
];

test('on every device the window fits, a tap starts play, a finger steers, the close box ends', async () => {
  for (const [name, width, height, ratio] of DEVICES) {
    const page = await openDevice(width, height, ratio);
    const main = await waitForWindow(page, 'Zandrel');
    await assertInside(page, main, name);
    await newGameByTouch(page, main);
    await steerByTouch(page, main);
    if (PICTURES) writeFileSync(join(PICTURES, `web-${name}.png`), await page.screenshot());
    await tap(page, main[2] - 13, main[1] + 12);
    await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 10000 });
    await page.close();
  }
});

test('turning the phone mid-game keeps the game going with the window on the screen', async () => {
  const page = await openDevice(390, 844, 3);
  const first = await waitForWindow(page, 'Zandrel');
  assert.equal(await page.$eval('#turn', (t) => t.hidden), false, 'portrait says to turn');
  await newGameByTouch(page, first);
  await ticks(16);
  const frames = await page.evaluate(() => Module.zandrel.frameTimes.length);
  await page.setViewport({ width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  await eventually(async () => {
    const main = await windowRect(page, 'Zandrel');
    await assertInside(page, main, 'turned');
  });
  assert.equal(await page.$eval('#turn', (t) => t.hidden), true, 'the words go in landscape');
  await steerByTouch(page, await windowRect(page, 'Zandrel'));
  assert.ok(await page.evaluate((n) => Module.zandrel.frameTimes.length > n + 16, frames),
    'frames keep coming');
  await page.setViewport({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  await eventually(async () => assertInside(page, await windowRect(page, 'Zandrel'), 'back'));
  assert.equal(await page.$eval('#turn', (t) => t.hidden), true, 'said once only');
  await page.close();
});

test('the crash box\'s OK takes a tap', async () => {
  const page = await openDevice(844, 390, 3);
  const main = await waitForWindow(page, 'Zandrel');
  await newGameByTouch(page, main); // the ball stays where it starts, and soon crashes
  const box = await waitForWindow(page, 'Alert', 90000);
  await tap(page, (box[0] + box[2]) >> 1, box[3] - 27);
  await eventually(async () => assert.equal(await windowRect(page, 'Alert'), undefined));
  await page.close();
});

test('pinching, double taps, long presses and a second finger leave the page as it is', async () => {
  const page = await openDevice(390, 844, 3);
  const main = await waitForWindow(page, 'Zandrel');
  const client = await page.createCDPSession();
  const [x, y] = toViewport(await mapping(page), main[0] + 300, main[1] + 200);
  await client.send('Input.synthesizePinchGesture',
    { x, y, scaleFactor: 2.5, gestureSourceType: 'touch' });
  await page.touchscreen.tap(x, y);
  await page.touchscreen.tap(x, y);
  await client.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y, id: 0 }] });
  await client.send('Input.dispatchTouchEvent',
    { type: 'touchStart', touchPoints: [{ x, y, id: 0 }, { x: x + 40, y: y + 40, id: 1 }] });
  await ticks(40);
  await client.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
  await ticks(8);
  const view = await page.evaluate(() => ({
    zoom: visualViewport.scale, x: scrollX, y: scrollY, selected: String(getSelection()),
  }));
  assert.deepEqual(view, { zoom: 1, x: 0, y: 0, selected: '' });
  assert.deepEqual(await windowRect(page, 'Zandrel'), main, 'nothing moved the window');
  await page.close();
});

test('Chromium finds the page installable', async () => {
  const page = await openDevice(844, 390, 3);
  await waitForWindow(page, 'Zandrel');
  const client = await page.createCDPSession();
  const { installabilityErrors } = await client.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  await page.close();
});

const PAGE_FILES = ['zandrel.html', 'index.html', 'zandrel.js', 'zandrel.wasm', 'page.js', 'page.css',
  'manifest.webmanifest', 'icon-192.png', 'icon-512.png', 'worker.js'];

async function whenControlled(page) {
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });
}

test('after one visit the page loads and plays with no network, and a new build is served', async () => {
  const folder = mkdtempSync(join(tmpdir(), 'zandrel-page-'));
  for (const file of PAGE_FILES) cpSync(join(WEB_DIR, file), join(folder, file));
  const { server, url } = await serve(folder);
  try {
    const page = await openDevice(844, 390, 3, url);
    await waitForWindow(page, 'Zandrel');
    await whenControlled(page);
    // A new build: the worker's cache has another name, and the page differs.
    const html = join(folder, 'zandrel.html');
    writeFileSync(html, readFileSync(html, 'utf8').replace('<body>', '<body data-build="new">'));
    const worker = join(folder, 'worker.js');
    writeFileSync(worker, readFileSync(worker, 'utf8').replace(/zandrel-[0-9a-f]+/, 'zandrel-new'));
    await page.reload();
    assert.equal(await page.evaluate(() => document.body.dataset.build), 'new', 'the new page');
    await waitForWindow(page, 'Zandrel');
    await page.waitForFunction(async () => (await caches.keys()).join() === 'zandrel-new',
      { timeout: 20000 });
    // No network at all: the browser's and the server's.
    await page.setOfflineMode(true);
    server.closeAllConnections();
    server.close();
    await page.reload();
    const main = await waitForWindow(page, 'Zandrel');
    await newGameByTouch(page, main);
    await steerByTouch(page, main);
    await page.close();
  } finally {
    server.close();
    rmSync(folder, { recursive: true, force: true });
  }
});
