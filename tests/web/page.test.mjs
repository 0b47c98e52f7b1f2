// The game's page in headless Chromium with real input through the DevTools
// protocol: what a person sees and does, checked against the headless
// host's captures of the same scenes.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import {
  canvasImage, columnsOf, differences, eventually, headlessCaptures, openPage, startBrowser,
  ticks, waitForNoWindow, waitForWindow, windowRect, windows,
} from './harness.mjs';

const BLUE = 0x0000ff, WHITE = 0xffffff, YELLOW = 0xffff00;
// The game's window on a 1024 by 768 screen whose work area ends 40 rows
// above the bottom, as on the headless host.
const MAIN = [192, 180, 832, 548];
const CLIENT = [195, 221, 829, 545];
// Where the ball can be: below the score's line of white text.
const FIELD = [195, 261, 829, 545];

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.close(); });

async function keys(page, ...names) {
  for (const name of names) await page.keyboard.press(name);
}

// Game > New from the keyboard: F10 opens the menu bar at Game.
async function newGameByKeyboard(page) {
  await keys(page, 'F10', 'ArrowDown', 'Enter');
  await ticks(8);
}

test('the page comes up with the window centred and the headless host\'s pixels', async () => {
  const { 'start.png': expected } = headlessCaptures(
    'at 500 capture start.png\n+100 close "Zandrel"\n', ['start.png']);
  const page = await openPage(session);
  assert.deepEqual(await waitForWindow(page, 'Zandrel'), MAIN);
  await eventually(async () => {
    const diff = differences(await canvasImage(page), expected);
    assert.equal(diff.count, 0, `pixels differ: ${diff.first.join('; ')}`);
  });
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen',
    'the canvas has the focus');
  await page.close();
});

test('Game > New by mouse starts play and the ball follows the pointer', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  assert.equal(columnsOf(await canvasImage(page), WHITE, FIELD), null, 'no ball before play');
  await page.mouse.click(210, 211); // Game, on the menu bar
  const menu = await eventually(async () => {
    const found = (await windows(page)).find((w) => w.title !== 'Zandrel');
    assert.ok(found, 'the Game menu opened');
    return found;
  });
  await page.mouse.click(menu.rect[0] + 20, menu.rect[1] + 10); // New, its first item
  for (const x of [400, 250, 700]) {
    await page.mouse.move(x, 450);
    await eventually(async () => {
      const ball = columnsOf(await canvasImage(page), WHITE, FIELD);
      assert.ok(ball, `a ball in play with the pointer at ${x}`);
      assert.ok(Math.abs(ball.min - x) <= 1, `the ball's left edge ${ball.min} is at ${x}`);
    });
  }
  await page.close();
});

test('Options > Pause by keyboard shows "Paused..."', async () => {
  const pauseKeys = ['Alt', 'ArrowRight', 'ArrowDown', 'Enter'];
  const { 'paused.png': expected } = headlessCaptures([
    'at 500 key F10', '+20 key Down', '+20 key Enter', '+1000 key Alt', '+20 key Right',
    '+20 key Down', '+20 key Enter', '+500 capture paused.png', '+0 close "Zandrel"', '',
  ].join('\n'), ['paused.png']);
  // The text's pixels: neither the field's blue nor a wall's yellow, where
  // the game prints it at the top left of its field.
  const area = [CLIENT[0], CLIENT[1] + 14, CLIENT[0] + 120, CLIENT[1] + 34];
  const text = [];
  for (let y = area[1]; y < area[3]; ++y) {
    for (let x = area[0]; x < area[2]; ++x) {
      const p = expected.at(x, y);
      if (p !== BLUE && p !== YELLOW) text.push([x, y, p]);
    }
  }
  assert.ok(text.length > 20, 'the headless capture shows the text');

  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await newGameByKeyboard(page);
  await ticks(40);
  await keys(page, ...pauseKeys);
  await eventually(async () => {
    const shown = await canvasImage(page);
    const wrong = text.filter(([x, y, p]) => shown.at(x, y) !== p);
    assert.equal(wrong.length, 0, `text pixels differ at ${wrong.slice(0, 5).join(' ')}`);
  });
  await page.close();
});

test('Help > Rules shows its box and Enter dismisses it', async () => {
  const captures = headlessCaptures([
    'at 500 capture start.png', '+0 key Alt', '+20 key Right', '+20 key Right', '+20 key Down',
    '+20 key Enter', '+500 capture rules.png', '+0 key Enter', '+500 capture after.png',
    '+0 close "Zandrel"', '',
  ].join('\n'), ['start.png', 'rules.png', 'after.png']);
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await keys(page, 'Alt', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'Enter');
  await waitForWindow(page, 'Rules');
  await eventually(async () => {
    const diff = differences(await canvasImage(page), captures['rules.png']);
    assert.equal(diff.count, 0, `the Rules box differs: ${diff.first.join('; ')}`);
  });
  await keys(page, 'Enter');
  await waitForNoWindow(page, 'Rules');
  await eventually(async () => {
    const diff = differences(await canvasImage(page), captures['after.png']);
    assert.equal(diff.count, 0, `after the box: ${diff.first.join('; ')}`);
  });
  await page.close();
});

test('a crash shows the "Alert" box centred on the game, with text', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await newGameByKeyboard(page); // the ball stays where it starts, and soon crashes
  const box = await waitForWindow(page, 'Alert', 90000);
  assert.ok(Math.abs((box[0] + box[2]) / 2 - (MAIN[0] + MAIN[2]) / 2) <= 1, `box ${box} centred`);
  assert.ok(Math.abs((box[1] + box[3]) / 2 - (MAIN[1] + MAIN[3]) / 2) <= 1, `box ${box} centred`);
  const inside = [box[0] + 50, box[1] + 25, box[2] - 5, box[3] - 40]; // right of the icon
  await eventually(async () => {
    assert.ok(columnsOf(await canvasImage(page), 0x000000, inside), 'the box holds its text');
  });
  await keys(page, 'Enter');
  await waitForNoWindow(page, 'Alert');
  await page.close();
});

test('the close box ends the program and the page says so with exit code 0', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await page.mouse.click(MAIN[2] - 13, MAIN[1] + 12);
  await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 10000 });
  const notice = await page.$eval('#notice', (n) => (n.hidden ? '' : n.textContent));
  assert.match(notice, /ended \(exit code 0\)/);
  assert.equal(await page.evaluate(() => document.body.dataset.exitCode), '0');
  assert.ok(await page.$eval('#again', (b) => !b.hidden), 'it offers to start again');
  await page.close();
});

test('dragging the caption moves the window, waiting in the browser meanwhile', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await page.mouse.move(400, 190);
  await page.mouse.down();
  for (const [x, y] of [[410, 200], [430, 230], [450, 250]]) {
    await page.mouse.move(x, y);
    await ticks(2);
  }
  await page.mouse.up();
  const moved = [MAIN[0] + 50, MAIN[1] + 60, MAIN[2] + 50, MAIN[3] + 60];
  await eventually(async () => assert.deepEqual(await windowRect(page, 'Zandrel'), moved));
  await page.close();
});

test('Alt+F4 ends the program as the close box does', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await page.keyboard.down('Alt');
  await page.keyboard.press('F4');
  await page.keyboard.up('Alt');
  await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 10000 });
  assert.equal(await page.evaluate(() => document.body.dataset.exitCode), '0');
  await page.close();
});

test('at device-pixel ratio 2 the canvas is drawn at scale 2 and the ball sits under the pointer', async () => {
  const page = await openPage(session, { width: 1280, height: 960, ratio: 2 });
  const main = await waitForWindow(page, 'Zandrel');
  const canvas = await page.$eval('#screen', (c) => ({
    scale: c.dataset.scale, width: c.width, height: c.height,
    box: c.getBoundingClientRect().width, rendering: getComputedStyle(c).imageRendering,
  }));
  assert.deepEqual(canvas, { scale: '2', width: 640, height: 480, box: 1280, rendering: 'pixelated' });
  assert.deepEqual(main, [0, 36, 640, 404], 'centred on a work area of 640 by 440');
  await newGameByKeyboard(page);
  const field = [main[0] + 3, main[1] + 81, main[2] - 3, main[3] - 3];
  for (const x of [150, 401]) {
    await page.mouse.move(2 * x + 1, 2 * 250 + 1); // CSS pixels: two per layer pixel
    await eventually(async () => {
      const ball = columnsOf(await canvasImage(page), WHITE, field);
      assert.ok(ball && Math.abs(ball.min - x) <= 1, `ball at ${ball && ball.min}, pointer ${x}`);
    });
  }
  await page.close();
});

// The caption's minimise box, and the game's button on the layer's task bar
// in the bottom 40 rows: the page composes the desktop as the headless host
// does, so it has the same bar.
const MINIMISE_BOX = [MAIN[0] + 593, MAIN[1] + 12];
const TASK_BAR_BUTTON = [84, 748];
const DESKTOP = 0x008080;

function countOf(image, colour, [left, top, right, bottom]) {
  let count = 0;
  for (let y = top; y < bottom; ++y)
    for (let x = left; x < right; ++x) count += image.at(x, y) === colour;
  return count;
}

test('the minimise box hides the window to the task bar and its button brings it back', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  const field = (await canvasImage(page));
  assert.ok(countOf(field, BLUE, CLIENT) > 0, 'the blue field before');
  await page.mouse.click(...MINIMISE_BOX);
  const area = (MAIN[2] - MAIN[0]) * (MAIN[3] - MAIN[1]);
  await eventually(async () => {
    assert.equal(countOf(await canvasImage(page), DESKTOP, MAIN), area, 'only desktop where the window was');
  });
  await page.mouse.click(...TASK_BAR_BUTTON);
  await eventually(async () => {
    const image = await canvasImage(page);
    assert.equal(countOf(image, BLUE, CLIENT), countOf(field, BLUE, CLIENT), 'the field as it was');
  });
  await newGameByKeyboard(page);
  await eventually(async () => assert.ok(countOf(await canvasImage(page), WHITE, FIELD) > 0, 'the ball'));
  await page.close();
});

// The first wall's gap: the columns of its row that are not yellow.
async function firstGap(page) {
  for (let tries = 0; tries < 100; ++tries) {
    const shown = await canvasImage(page);
    for (let y = CLIENT[1]; y < CLIENT[3]; ++y) {
      const row = [];
      for (let x = CLIENT[0]; x < CLIENT[2]; ++x) row.push(shown.at(x, y));
      if (row.filter((p) => p === YELLOW).length < 100) continue;
      const gap = row.map((p, i) => (p === YELLOW ? -1 : i)).filter((i) => i >= 0);
      return [gap[0], gap[gap.length - 1]];
    }
    await ticks(4);
  }
  throw new Error('no wall came');
}

test('two page loads seconds apart play different games', async () => {
  const gaps = [];
  for (let load = 0; load < 2; ++load) {
    const page = await openPage(session);
    await waitForWindow(page, 'Zandrel');
    await newGameByKeyboard(page);
    gaps.push(await firstGap(page));
    await page.close();
  }
  assert.notDeepEqual(gaps[0], gaps[1], `the first walls' gaps ${gaps[0]} and ${gaps[1]}`);
});

test('keys the program knows do not reach the browser', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await page.evaluate(() => {
    window.seen = [];
    window.addEventListener('keydown', (e) => window.seen.push([e.key, e.defaultPrevented]));
  });
  await keys(page, 'F10', 'Escape', 'ArrowDown', 'Alt', 'Alt', 'Space', 'KeyQ', 'F12');
  const seen = await page.evaluate(() => window.seen);
  assert.deepEqual(seen, [['F10', true], ['Escape', true], ['ArrowDown', true], ['Alt', true],
    ['Alt', true], [' ', true], ['q', true], ['F12', false]]);
  await page.close();
});

// Windows' virtual keys, which the headless host's script names Insert,
// Pause and Numpad7 give too (tests/platform/host/keys_test.cpp).
const HEADLESS_KEYS = { Insert: 0x2d, Pause: 0x13, Numpad7: 0x67 };

test('Insert, Pause and a keypad key reach the program as on the headless host', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await page.evaluate(() => {
    window.sent = [];
    // The module's own export: its first call through Module would put
    // itself back in place of this wrapper.
    const input = Module.asm.web_host_input;
    Module._web_host_input = (type, x, y, button, down, key) => {
      if (type === Module.zandrel.HOST_KEY) window.sent.push([key, down]);
      return input(type, x, y, button, down, key);
    };
  });
  await keys(page, ...Object.keys(HEADLESS_KEYS));
  const expected = Object.values(HEADLESS_KEYS).flatMap((key) => [[key, 1], [key, 0]]);
  assert.deepEqual(await page.evaluate(() => window.sent), expected);
  await page.close();
});

test('without WebAssembly the page says what is wrong', async () => {
  const page = await openPage(session, { before: () => { delete globalThis.WebAssembly; } });
  await page.waitForFunction(() => document.body.dataset.state === 'failed', { timeout: 10000 });
  assert.match(await page.$eval('#notice-text', (n) => n.textContent), /no WebAssembly/);
  await page.close();
});

test('when a file fails to load the page says which', async () => {
  for (const [file, says] of [['zandrel.wasm', /its code did not load/],
                              ['zandrel.js', /zandrel\.js did not load/]]) {
    const page = await session.browser.newPage();
    await page.setBypassServiceWorker(true); // or the worker fetches what is refused here
    await page.setRequestInterception(true);
    page.on('request', (r) => (r.url().endsWith(file) ? r.abort() : r.continue()));
    await page.goto(session.url);
    await page.waitForFunction(() => document.body.dataset.state === 'failed', { timeout: 10000 });
    assert.match(await page.$eval('#notice-text', (n) => n.textContent), says, file);
    await page.close();
  }
});
