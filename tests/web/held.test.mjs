// What the page holds for the program: buttons and keys must be let go of
// however the browser ends them, or the program acts on a press nobody
// makes any more.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { openPage, startBrowser, ticks, waitForWindow, windowRect, windows } from './harness.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.close(); });

const CAPTION = [400, 190];

// Ways a press on the caption can end. After each, a move of the mouse
// must not drag the window: no button is held any more.
const PRESS_ENDINGS = [
  ['left and right overlapping, left let go of first', async (page) => {
    await page.mouse.move(...CAPTION);
    await page.mouse.down({ button: 'left' });
    await page.mouse.down({ button: 'right' });
    await page.mouse.up({ button: 'left' });
    await page.mouse.up({ button: 'right' });
  }],
  ['a touch the browser cancels', async (page) => {
    const touch = await page.createCDPSession();
    await touch.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 2 });
    const [x, y] = CAPTION;
    await touch.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] });
    await touch.send('Input.dispatchTouchEvent',
      { type: 'touchMove', touchPoints: [{ x: x + 10, y: y + 10 }] });
    await ticks(4);
    await touch.send('Input.dispatchTouchEvent', { type: 'touchCancel', touchPoints: [] });
  }],
];

test('no button stays held however a press on the caption ends', async () => {
  for (const [name, press] of PRESS_ENDINGS) {
    const page = await openPage(session);
    await waitForWindow(page, 'Zandrel');
    await press(page);
    await ticks(8);
    const where = await windowRect(page, 'Zandrel');
    for (const [x, y] of [[600, 400], [700, 500]]) {
      await page.mouse.move(x, y);
      await ticks(4);
    }
    assert.deepEqual(await windowRect(page, 'Zandrel'), where, `${name}: the window followed`);
    assert.equal(await page.evaluate(() => Module.zandrel.buttonsDown.size), 0, name);
    await page.close();
  }
});

test('Alt held while the canvas loses the focus is no tap of Alt', async () => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  await page.keyboard.down('Alt');
  await page.evaluate(() => document.getElementById('screen').blur());
  await page.keyboard.up('Alt');
  await page.evaluate(() => document.getElementById('screen').focus());
  // In menu mode the Down arrow would open the Game menu.
  await page.keyboard.press('ArrowDown');
  await ticks(16);
  assert.deepEqual((await windows(page)).map((w) => w.title), ['Zandrel'], 'no menu opened');
  await page.close();
});
