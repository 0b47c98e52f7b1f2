// The program's end as the page shows it: no error, the page's own
// controls take the keys again, and the last picture is what the program
// left on the screen.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { canvasImage, eventually, openPage, startBrowser, ticks, waitForWindow, windows } from './harness.mjs';

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.close(); });

const MAIN = [192, 180, 832, 548];
const DESKTOP = 0x008080;

// Each way to end, with the screen area that must show the desktop after.
const ENDINGS = [
  ['the close box', async (page) => {
    await page.mouse.click(MAIN[2] - 13, MAIN[1] + 12);
    return MAIN;
  }],
  ['Game > Quit by keyboard', async (page) => {
    await page.keyboard.press('F10');
    await page.keyboard.press('ArrowDown');
    await page.keyboard.press('ArrowUp'); // from New round to Quit, the last item
    const menu = await eventually(async () => {
      const found = (await windows(page)).find((w) => w.title !== 'Zandrel');
      assert.ok(found, 'the Game menu opened');
      return found.rect;
    });
    await ticks(4);
    await page.keyboard.press('Enter');
    return menu;
  }],
];

test('the program ends cleanly and hands the page back', async () => {
  for (const [name, end] of ENDINGS) {
    const page = await openPage(session);
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await waitForWindow(page, 'Zandrel');
    const area = await end(page);
    await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 10000 });
    await ticks(2);
    assert.deepEqual(errors, [], `${name}: errors on the page`);
    const shown = await canvasImage(page);
    const stale = [];
    for (let y = area[1]; y < area[3]; ++y)
      for (let x = area[0]; x < area[2]; ++x) if (shown.at(x, y) !== DESKTOP) stale.push([x, y]);
    assert.equal(stale.length, 0, `${name}: the old picture stays at ${stale.slice(0, 3).join(' ')}`);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'again', name);
    await page.evaluate(() => {
      window.prevented = [];
      window.addEventListener('keydown', (e) => window.prevented.push(e.defaultPrevented));
      document.getElementById('screen').focus();
    });
    await page.keyboard.press('Tab');
    assert.deepEqual(await page.evaluate(() => window.prevented), [false], `${name}: Tab was swallowed`);
    await page.close();
  }
});
