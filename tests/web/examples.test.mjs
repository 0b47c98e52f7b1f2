// The example programs' pages, built beside the game's: each loads and
// shows its main window.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { startBrowser, waitForWindow } from './harness.mjs';

const PAGES = [
  { folder: 'scribble', title: 'Scribble' },
  { folder: 'clocks', title: 'Clocks' },
];

let session;
before(async () => { session = await startBrowser(); });
after(async () => { await session.close(); });

for (const { folder, title } of PAGES) {
  test(`the ${folder} page loads and shows its window`, async () => {
    const page = await session.browser.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(String(e)));
    await page.goto(new URL(`examples/${folder}/${folder}.html`, session.url).href);
    const [left, top, right, bottom] = await waitForWindow(page, title);
    assert.ok(right > left && bottom > top, `${title} has a place on the screen`);
    assert.deepEqual(errors, [], 'the page ran without errors');
    await page.close();
  });
}
