// A game played on the page, saved with the page's "Save the replay" as a
// real download, and replayed on the headless host: every checkpoint
// matches and the replay ends on the picture the page's recorder left
// beside its tape, pixel for pixel. A tape saved with F8 in the middle of
// the run replays up to where it stops; a mouse move edited by one pixel
// is caught at the checkpoint that follows it.
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
before(async () => {
  session = await startBrowser();
  work = mkdtempSync(join(tmpdir(), 'zandrel-replay-'));
});
after(async () => {
  await session.close();
  rmSync(work, { recursive: true, force: true });
});

const STEERING = [300, 450, 380, 250];

async function keys(page, ...names) {
  for (const name of names) {
    await page.keyboard.press(name);
    await ticks(2);
  }
}

// Saves the replay by `how` into a folder of its own, as the browser
// downloads it; returns the file's path once the download has finished.
async function download(page, name, how) {
  const folder = join(work, name);
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  await how();
  const path = join(folder, 'zandrel.tape');
  await eventually(() => assert.ok(existsSync(path), `${name}: no download`), 20000);
  await cdp.detach();
  return path;
}

// The headless program replaying a tape; its last picture lands in `folder`.
function replay(tape, folder) {
  const env = { ...process.env, ZANDREL_REPLAY: tape, ZANDREL_CAPTURE_DIR: folder };
  for (const name of ['ZANDREL_RECORD', 'ZANDREL_SCRIPT', 'ZANDREL_TIME_LIMIT']) delete env[name];
  return spawnSync(HEADLESS, [], { env, encoding: 'utf8', timeout: 60000 });
}

// Walks a tape's records (platform/host/tape/README.md) and changes the x
// of the first mouse move to `x`, by one, where its first byte holds it;
// the block's checksum is made right again. Returns the tape and how many
// checkpoints came before the move.
function editMouseX(bytes, x) {
  const tape = Buffer.from(bytes);
  let at = 0;
  const varint = () => {
    let value = 0, shift = 0, byte;
    do {
      byte = tape[at++];
      value += (byte & 0x7f) * 2 ** shift;
      shift += 7;
    } while (byte & 0x80);
    return value;
  };
  const signed = () => { const v = varint(); return v % 2 ? -(v + 1) / 2 : v / 2; };
  const point = { x: 0, y: 0 };
  let checkpoints = 0;
  for (let block = 10 + 8 + tape.readUInt32LE(10); block < tape.length;) {
    const end = block + 8 + tape.readUInt32LE(block);
    for (at = block + 8; at < end;) {
      const head = varint(), kind = head & 7, n = Math.floor(head / 8);
      if (kind === 3 && n === 1) for (let i = 0; i < 8; ++i) varint();
      if (kind === 5) { at += 4; ++checkpoints; }
      if (kind !== 2) continue;
      varint(); // its time
      if ([1, 2, 7].includes(n)) {
        const xAt = at;
        point.x += signed();
        point.y += signed();
        if (n === 1 && point.x === x) {
          tape[xAt] ^= 2; // the zigzag number's second bit: one pixel off
          tape.writeUInt32LE(crc32(tape.subarray(block + 8, end)), block + 4);
          return { tape, checkpoints };
        }
      }
      if (n === 2 || n === 3) varint(); // the button, the key
      if (n >= 4 && n !== 8) varint(); // the window
    }
    block = end;
  }
  throw new Error(`the tape has no mouse move to x ${x}`);
}

test('a run on the page replays on the headless host to the pixel', async (t) => {
  const page = await openPage(session);
  await waitForWindow(page, 'Zandrel');
  assert.ok(await page.$eval('#save', (a) => !a.hidden), 'the page offers the replay');

  // Game > New by mouse, steering, the crash box answered with OK.
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
  await ticks(8);
  await keys(page, 'Enter'); // its OK, the default button
  await waitForNoWindow(page, 'Alert');
  // Options > Pause, Help > Rules and its OK.
  await keys(page, 'Alt', 'ArrowRight', 'ArrowDown', 'Enter');
  await ticks(16);
  await keys(page, 'Alt', 'ArrowRight', 'ArrowRight', 'ArrowDown', 'Enter');
  await waitForWindow(page, 'Rules');
  await keys(page, 'Enter');
  await waitForNoWindow(page, 'Rules');

  // F8 in the middle of the run: the tape so far, whole blocks only.
  const early = await download(page, 'early', () => keys(page, 'F8'));

  // Game > Quit, then the link on the end notice.
  await keys(page, 'F10', 'ArrowDown', 'ArrowUp');
  await keys(page, 'Enter');
  await page.waitForFunction(() => document.body.dataset.state === 'ended', { timeout: 10000 });
  assert.equal(await page.evaluate(() => document.body.dataset.exitCode), '0');
  const tape = await download(page, 'whole', () => page.click('#notice #save'));
  const picture = join(work, 'recorded.png');
  writeFileSync(picture, Buffer.from(await page.evaluate(() => {
    const bytes = FS.readFile('/zandrel.tape.png');
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
  }), 'base64'));
  await page.close();

  const run = replay(tape, work);
  assert.equal(run.status, 0, run.stderr);
  const matched = /^zandrel: the replay matched (\d+) checkpoints$/m.exec(run.stderr);
  assert.ok(matched && +matched[1] > 5, run.stderr);
  const diff = differences(readCapture(join(work, 'replay-end.png')), readCapture(picture));
  assert.equal(diff.count, 0, `the last pictures differ: ${diff.first.join('; ')}`);
  t.diagnostic(`${matched[1]} checkpoints matched; tape ${readFileSync(tape).length} bytes, ` +
               `${readFileSync(early).length} bytes at F8`);

  const cut = replay(early, work);
  assert.equal(cut.status, 9, cut.stderr);
  assert.match(cut.stderr, /without its end.*the recording was cut short \(\d+ checkpoints matched\)/);

  const edited = editMouseX(readFileSync(tape), STEERING[1]);
  writeFileSync(join(work, 'edited.tape'), edited.tape);
  const left = replay(join(work, 'edited.tape'), work);
  assert.equal(left.status, 8, left.stderr);
  assert.ok(left.stderr.includes(`at checkpoint ${edited.checkpoints + 1} `), left.stderr);
});
