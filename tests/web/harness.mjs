// What the browser tests share: the built page served on the loopback
// address, headless Chromium driven through the DevTools protocol, the
// canvas read back as pixels, and captures from the headless host's program
// of the same scenes, made in the same run.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import pngjs from 'pngjs';
import { serve } from './server.mjs';

const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const WEB_DIR = process.env.ZANDREL_WEB_DIR || join(ROOT, 'build/web');
export const HEADLESS = process.env.ZANDREL_HEADLESS || join(ROOT, 'build/default/game/zandrel-headless');
const CHROMIUM = process.env.ZANDREL_CHROMIUM || '/usr/bin/chromium';

// The flags that keep Chromium off the network and quiet on a machine
// without one, as root.
export const FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export async function startBrowser() {
  for (const file of ['zandrel.html', 'zandrel.js', 'zandrel.wasm', 'page.js', 'page.css']) {
    if (!existsSync(join(WEB_DIR, file)))
      throw new Error(`${join(WEB_DIR, file)} is missing: build the web preset first`);
  }
  const profile = mkdtempSync(join(tmpdir(), 'zandrel-chromium-'));
  const { server, url } = await serve(WEB_DIR);
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [...FLAGS, `--user-data-dir=${profile}`],
  });
  return {
    browser, url,
    async close() {
      await browser.close();
      server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Opens the page at a viewport of CSS pixels and a device-pixel ratio, and
// waits until the program shows its main window. `before` runs in the page
// before any of its scripts.
export async function openPage(session, { width = 1024, height = 768, ratio = 1, before } = {}) {
  const page = await session.browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: ratio });
  const messages = [];
  page.on('console', (m) => messages.push(m.text()));
  page.on('pageerror', (e) => messages.push(String(e)));
  page.messages = messages;
  if (before) await page.evaluateOnNewDocument(before);
  await page.goto(session.url);
  return page;
}

export async function waitForWindow(page, title, timeout = 10000) {
  await page.waitForFunction(
    (t) => JSON.parse(document.getElementById('screen').dataset.windows || '[]')
      .some((w) => w.title === t),
    { timeout, polling: 50 }, title);
  return windowRect(page, title);
}

export async function waitForNoWindow(page, title, timeout = 10000) {
  await page.waitForFunction(
    (t) => !JSON.parse(document.getElementById('screen').dataset.windows || '[]')
      .some((w) => w.title === t),
    { timeout, polling: 50 }, title);
}

export async function windows(page) {
  return page.evaluate(() => JSON.parse(document.getElementById('screen').dataset.windows || '[]'));
}

export async function windowRect(page, title) {
  const found = (await windows(page)).find((w) => w.title === title);
  return found && found.rect;
}

// Retries a check until it passes or `timeout` ms have passed: the program
// runs at its own pace, slower on a busy machine. The last failure is
// thrown.
export async function eventually(check, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    try {
      return await check();
    } catch (error) {
      if (Date.now() > end) throw error;
    }
    await ticks(4);
  }
}

// Lets the program run: a number of system ticks of real time.
export function ticks(count) {
  return new Promise((done) => setTimeout(done, Math.ceil(count * 15.625)));
}

// The canvas's pixels as 0x00RRGGBB numbers, in layer pixels.
export async function canvasImage(page) {
  const { width, height, data } = await page.evaluate(() => {
    const canvas = document.getElementById('screen');
    const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, data: btoa(text) };
  });
  const bytes = Buffer.from(data, 'base64');
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i)
    pixels[i] = (bytes[4 * i] << 16) | (bytes[4 * i + 1] << 8) | bytes[4 * i + 2];
  return { width, height, pixels, at: (x, y) => pixels[y * width + x] };
}

// Runs the headless host's program with a script; returns its captures by
// name. The script's times are virtual: the run takes no real time.
export function headlessCaptures(script, names) {
  const folder = mkdtempSync(join(tmpdir(), 'zandrel-headless-'));
  try {
    writeFileSync(join(folder, 'script.txt'), script);
    const run = spawnSync(HEADLESS, [], {
      env: { ...process.env, ZANDREL_SCRIPT: join(folder, 'script.txt'),
             ZANDREL_CAPTURE_DIR: folder, ZANDREL_TIME_LIMIT: '120' },
      encoding: 'utf8', timeout: 60000,
    });
    const images = {};
    for (const name of names) {
      const path = join(folder, name);
      if (!existsSync(path))
        throw new Error(`the headless program wrote no ${name} (exit ${run.status}): ${run.stderr}`);
      images[name] = readCapture(path);
    }
    return images;
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

// A capture of the headless host as 0x00RRGGBB pixels, as the layer keeps
// them; pngjs gives RGBA bytes whatever the file's colour type.
export function readCapture(path) {
  const { width, height, data } = pngjs.PNG.sync.read(readFileSync(path));
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i)
    pixels[i] = (data[4 * i] << 16) | (data[4 * i + 1] << 8) | data[4 * i + 2];
  return { width, height, pixels, at: (x, y) => pixels[y * width + x] };
}

// The pixels where two pictures of the same size differ, counted, with the
// first few named.
export function differences(a, b) {
  if (a.width !== b.width || a.height !== b.height)
    return { count: -1, first: [`sizes ${a.width}x${a.height} and ${b.width}x${b.height}`] };
  let count = 0;
  const first = [];
  for (let i = 0; i < a.pixels.length; ++i) {
    if (a.pixels[i] === b.pixels[i]) continue;
    if (++count <= 5)
      first.push(`${i % a.width},${Math.floor(i / a.width)}: ` +
        `${a.pixels[i].toString(16)} vs ${b.pixels[i].toString(16)}`);
  }
  return { count, first };
}

// The columns of a colour in a rectangle of a picture: their smallest and
// largest x, or null when the colour is not there.
export function columnsOf(image, colour, [left, top, right, bottom]) {
  let min = Infinity, max = -Infinity;
  for (let y = top; y < bottom; ++y) {
    for (let x = left; x < right; ++x) {
      if (image.at(x, y) !== colour) continue;
      min = Math.min(min, x);
      max = Math.max(max, x);
    }
  }
  return min === Infinity ? null : { min, max };
}
