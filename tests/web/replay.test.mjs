// A game played on the page and saved with "Save the replay" as a real
// download replays on the headless host: every checkpoint matches, and the
// last picture is the one the page's recorder left beside the tape. A tape
// saved with F8 mid-run replays up to where it stops. (Edited tapes are the
// headless tape test's: the reader and the replay are the same whichever
// host recorded.)
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import {
  HEADLESS, differences, eventually, openPage, readCapture, startBrowser, ticks,
  waitForNoWindow, waitForWindow, windows,
} from './harness.mjs';

let session, work;
before(async () => {
  session = await startBrowser();
  work = mkdtempSync(join(tmpdir(), 'zandrel-replay-'));
});
after(async () => {
  await session.close();
  rmSync(work, { recursive: true, force: true });
});

async function keys(page, ...names) {
  for (const name of names) {
    await page.keyboard.press(name);
    await ticks(2);
  }
}

// The browser's download of the replay that `save` asks for, into a
// folder of its own.
async function download(page, name, save) {
  const cdp = await page.createCDPSession();
  const downloadPath = join(work, name);
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath });
  await save();
  const path = join(work, name, 'zandrel.tape');
  await eventually(() => assert.ok(existsSync(path), `${name}: no download`), 20000);
  return path;
}

function replay(tape) {
  const env = { ...process.env, ZANDREL_REPLAY: tape, ZANDREL_CAPTURE_DIR: work };
  for (const name of ['ZANDREL_RECORD', 'ZANDREL_SCRIPT']) delete env[name];
  return spawnSync(HEADLESS, [], { env, encoding: 'utf8', timeout: 60000 });
}

test('a run on the page replays on the headless host to the pixel', async (t) => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  // Game > New by mouse, steering, the crash box's OK (its default button).
  await page.mouse.click(210, 211);
  const menu = await eventually(async () => {
    const found = (await windows(page)).find((w) => w.title !== 'Zandrel');
    assert.ok(found, 'the Game menu opened');
    return found;
  });
  await page.mouse.click(menu.rect[0] + 20, menu.rect[1] + 10);
  for (const x of [300, 450, 380, 250]) {
    await page.mouse.move(x, 450);
    await ticks(20);
  }
  await waitForWindow(page, 'Alert', 90000);
  await keys(page, 'Enter');
  await waitForNoWindow(page, 'Alert');
  // Options > Pause, Help > Rules and its OK; F8 saves the tape so far.
  await keys(page, 'Alt', 'ArrowRight', 'ArrowDown', 'Enter');
  await keys(page, 'Alt', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'Enter');
  await waitForWindow(page, 'Rules');
  await keys(page, 'Enter');
  await waitForNoWindow(page, 'Rules');
  const early = await download(page, 'early', () => keys(page, 'F8'));
  // Game > Quit, then the link on the end notice.
  await keys(page, 'F10', 'ArrowDown', 'ArrowUp', 'Enter');
  await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 10000 });
  const tape = await download(page, 'whole', () => page.click('#notice #save'));
  const picture = join(work, 'recorded.png');
  const png = await page.evaluate(() => Array.from(FS.readFile('/zandrel.tape.png')));
  writeFileSync(picture, Buffer.from(png));
  await page.close();

  const run = replay(tape);
  const matched = /^zandrel: the replay matched (\d+) checkpoints$/m.exec(run.stderr);
  assert.ok(run.status === 0 && matched && +matched[1] > 5, run.stderr);
  const diff = differences(readCapture(join(work, 'replay-end.png')), readCapture(picture));
  assert.equal(diff.count, 0, `the last pictures differ: ${diff.first.join('; ')}`);
  t.diagnostic(`${matched[1]} checkpoints; tape ${readFileSync(tape).length} bytes, ` +
               `${readFileSync(early).length} at F8`);

  const cut = replay(early);
  assert.equal(cut.status, 9, cut.stderr);
  assert.match(cut.stderr, /without its end.*the recording was cut short/);
});
