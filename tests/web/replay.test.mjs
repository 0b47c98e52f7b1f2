// A game played on the page and saved with "Save the replay" as a real
// download replays on the headless host: every checkpoint matches, and the
// last picture is the one the page's recorder left beside the tape. A tape
// saved with F8 mid-run replays up to where it stops; a mouse move edited
// by one pixel is caught at the checkpoint after it.
import { test, after, before } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { crc32 } from 'node:zlib';
import {
  HEADLESS, differences, eventually, openPage, readCapture, startBrowser, ticks,
  waitForNoWindow, waitForWindow, windows,
} from './harness.mjs';

let session, work;
const STEERING = [300, 450, 380, 250];
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

// Walks the tape's records (platform/host/tape/README.md) to the first
// mouse move to one of `xs` at least 0.1 s before the next checkpoint (so
// that the frame after it is shown by then), changes its x by one in the
// first byte of its zigzag varint, and makes the block's CRC right again.
// Returns the tape and how many checkpoints came before the move.
function editMouseX(tape, xs) {
  let at = 0, checkpoints = 0, pointX = 0, clock = 0, due = Infinity;
  const varint = () => {
    let value = 0;
    for (let shift = 0, byte = 0x80; byte & 0x80; shift += 7)
      value += ((byte = tape[at++]) & 0x7f) * 2 ** shift;
    return value;
  };
  const signed = () => { const v = varint(); return v % 2 ? -(v + 1) / 2 : v / 2; };
  for (let block = 18 + tape.readUInt32LE(10), end; block < tape.length; block = end) {
    end = block + 8 + tape.readUInt32LE(block);
    for (at = block + 8; at < end;) {
      const head = varint(), kind = head & 7, type = Math.floor(head / 8);
      if (kind === 0) clock += type; // microseconds since the last reading
      if (kind === 3 && type === 1) for (let i = 0; i < 8; ++i) varint(); // a new screen
      if (kind === 5) { at += 4; ++checkpoints; due = clock + 1e6; }
      if (kind !== 2) continue; // the rest of an input record:
      varint(); // its time
      const xAt = at;
      if ([1, 2, 7].includes(type)) { pointX += signed(); signed(); } // moves and buttons
      if (type === 1 && xs.includes(pointX) && due - clock > 1e5) {
        tape[xAt] ^= 2;
        tape.writeUInt32LE(crc32(tape.subarray(block + 8, end)), block + 4);
        return { tape, checkpoints };
      }
      if (type === 2 || type === 3) varint(); // the button, the key
      if (type >= 4 && type !== 8) varint(); // the window
    }
  }
  throw new Error(`the tape has no mouse move to x ${xs} to edit`);
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
  for (const x of STEERING) {
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
  const edited = editMouseX(readFileSync(tape), STEERING);
  writeFileSync(join(work, 'edited.tape'), edited.tape);
  const left = replay(join(work, 'edited.tape'));
  assert.equal(left.status, 8, left.stderr);
  assert.ok(left.stderr.includes(`at checkpoint ${edited.checkpoints + 1} `), left.stderr);
});
