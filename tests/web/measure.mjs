// The page's figures in headless Chromium: its download size, the time from
// navigation to the first frame, the period between frames while playing,
// and the main thread's busy time per second while playing and while idle
// in the start wait. Prints one line per figure; asserts nothing.
// The playing figures are taken with 20 walls in play (the most the game
// has): a player steers the ball from the canvas's pixels (steer.mjs) for
// the six or seven minutes the game takes to get there, then each stretch
// of ZANDREL_MEASURE_SECONDS (8) is measured ZANDREL_MEASURE_RUNS (3) times
// at full speed and, with ZANDREL_CPU_SLOWDOWN=4, as many times with the
// page's processor slowed four times as a phone's (DevTools' CPU
// throttling), the two taking turns.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { loadavg } from 'node:os';
import { openPage, startBrowser, ticks, waitForWindow, windows, WEB_DIR } from './harness.mjs';
import { startPlayer } from './steer.mjs';

function percentile(sorted, p) {
  return sorted[Math.min(sorted.length - 1, Math.floor(p * sorted.length))];
}

function gzippedKiB(file) {
  return gzipSync(readFileSync(join(WEB_DIR, file)), { level: 9 }).length / 1024;
}

// The main thread's processor time (the DevTools protocol's ThreadTime)
// and its tasks' duration (TaskDuration, which also counts the time the
// thread waited for a processor on a busy machine) over a stretch of real
// time, as shares of it.
async function busyShare(page, seconds, during = async () => ticks(64 * seconds)) {
  const client = await page.createCDPSession();
  await client.send('Performance.enable');
  const metric = async () => {
    const { metrics } = await client.send('Performance.getMetrics');
    const get = (name) => metrics.find((m) => m.name === name).value;
    return { thread: get('ThreadTime'), task: get('TaskDuration'), at: get('Timestamp') };
  };
  const first = await metric();
  await during();
  const last = await metric();
  const span = last.at - first.at;
  return {
    thread: (last.thread - first.thread) / span,
    task: (last.task - first.task) / span,
    text() {
      return `${(this.thread * 100).toFixed(2)} % processor time` +
             ` (${(this.task * 100).toFixed(2)} % in tasks)`;
    },
  };
}

// The game's whole wall set is in play once the spawn period is below the
// time a wall takes down the field; the field shows 17 or 18 of them (the
// others are below the client area's bottom, which ends above the walls'
// last row).
const WALLS_SHOWN = Number(process.env.ZANDREL_MEASURE_WALLS || 17);

function frameFigures(times, start, end) {
  const inPlay = times.filter((t) => t >= start && t <= end);
  const periods = inPlay.slice(1).map((t, i) => t - inPlay[i]).sort((a, b) => a - b);
  return `frame period median ${percentile(periods, 0.5).toFixed(2)} ms,` +
         ` p99 ${percentile(periods, 0.99).toFixed(2)} ms over ${periods.length} frames` +
         ` (${periods.filter((p) => p > 17).length} above 17 ms)`;
}

// One measured stretch of play at a processor slowdown.
async function measureStretch(page, client, rate, seconds) {
  await client.send('Emulation.setCPUThrottlingRate', { rate });
  await ticks(32);
  const [start, lookBefore] = await page.evaluate(() => [performance.now(), window.zandrelLookMs]);
  let crashed = false;
  const share = await busyShare(page, seconds, async () => {
    for (let i = 0; i < seconds * 2 && !crashed; ++i) {
      await ticks(32);
      crashed = (await windows(page)).some((w) => w.title === 'Alert');
    }
  });
  const [end, lookAfter, times] = await page.evaluate(
    () => [performance.now(), window.zandrelLookMs, Module.zandrel.frameTimes.slice()]);
  const look = (lookAfter - lookBefore) / (end - start) * 100;
  console.log(`  slowed ${rate}x, load ${loadavg()[0].toFixed(1)}: main thread ${share.text()}, of which the player's` +
              ` reading ${look.toFixed(2)} %; ${frameFigures(times, start, end)}` +
              `${crashed ? ' (the ball crashed)' : ''}`);
  return !crashed;
}

// With ZANDREL_TRACE naming a file, four seconds of play at full speed are
// recorded there with Chromium's tracing (chrome://tracing or DevTools'
// performance panel opens it), and the main thread's tasks are summed up by
// what each task runs first.
async function traceStretch(page, file) {
  const categories = ['toplevel', 'devtools.timeline', 'disabled-by-default-devtools.timeline',
                      'blink', 'cc', 'viz', 'v8'];
  await page.tracing.start({ path: file, categories });
  await ticks(64 * 4);
  const events = JSON.parse(new TextDecoder().decode(await page.tracing.stop())).traceEvents;
  const thread = events.find((e) => e.name === 'thread_name' && e.args.name === 'CrRendererMain' &&
                             events.some((t) => t.name === 'TimerFire' && t.tid === e.tid));
  const mine = events.filter((e) => e.ph === 'X' && e.tid === thread.tid && e.pid === thread.pid)
                     .sort((a, b) => a.ts - b.ts || b.dur - a.dur);
  const span = (mine[mine.length - 1].ts - mine[0].ts) / 1e6;
  const kinds = new Map();
  mine.forEach((task, i) => {
    if (task.name !== 'ThreadControllerImpl::RunTask') return;
    const first = mine.slice(i + 1, i + 40).find((e) => e.ts <= task.ts + task.dur &&
      !/RunTask|MicrotaskCheckpoint/.test(e.name));
    const kind = kinds.get(first ? first.name : '(nothing traced)') || { count: 0, ms: 0 };
    kind.count += 1;
    kind.ms += (task.tdur ?? task.dur) / 1000;
    kinds.set(first ? first.name : '(nothing traced)', kind);
  });
  console.log(`main thread's tasks over ${span.toFixed(1)} s of play at full speed (${file}):`);
  [...kinds].sort((a, b) => b[1].ms - a[1].ms).slice(0, 8).forEach(([name, k]) =>
    console.log(`  ${(k.count / span).toFixed(0).padStart(4)}/s ` +
                `${(k.ms / span).toFixed(1).padStart(6)} ms/s processor time  ${name}`));
}

// Starts a game, steers until the wall set is in play, then measures.
async function playWithWalls(page, main) {
  const client = [main[0] + 3, main[1] + 41, main[2] - 3, main[3] - 3];
  const toCss = await page.$eval('#screen', (c) => {
    const box = c.getBoundingClientRect();
    return [box.left, box.top, box.width / c.width];
  });
  const at = (x, y) => [toCss[0] + (x + 0.5) * toCss[2], toCss[1] + (y + 0.5) * toCss[2]];
  await page.keyboard.press('F10');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  const player = await startPlayer(page, client, at);
  const began = Date.now();
  let walls = 0;
  while (walls < WALLS_SHOWN) {
    await ticks(64);
    if ((await windows(page)).some((w) => w.title === 'Alert')) {
      await player.stop();
      throw new Error(`the ball crashed after ${(Date.now() - began) / 1000} s with ${walls} walls` +
                      ` (${JSON.stringify(player.counts())})`);
    }
    walls = await player.walls();
  }
  // By then the spawn period falls by a twentieth of a second a second:
  // 20 s more make sure that every slot is taken.
  await ticks(64 * 20);
  console.log(`${await player.walls()} walls on the field after` +
              ` ${((Date.now() - began) / 1000).toFixed(0)} s of play` +
              ` (the player moved the pointer ${player.counts().moves} times)`);
  const cdp = await page.createCDPSession();
  const slowdown = Number(process.env.ZANDREL_CPU_SLOWDOWN || 1);
  const rates = slowdown > 1 ? [1, slowdown] : [1];
  const seconds = Number(process.env.ZANDREL_MEASURE_SECONDS || 8);
  console.log('while playing:');
  for (let run = 0; run < Number(process.env.ZANDREL_MEASURE_RUNS || 3); ++run) {
    for (const rate of rates) {
      if (!await measureStretch(page, cdp, rate, seconds)) return player.stop();
    }
  }
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  if (process.env.ZANDREL_TRACE) await traceStretch(page, process.env.ZANDREL_TRACE);
  console.log(`${await player.walls()} walls on the field at the end` +
              ` (the player looked ${player.counts().looks} times)`);
  await player.stop();
}

const session = await startBrowser();
try {
  console.log(`load average: ${loadavg().map((l) => l.toFixed(1)).join(' ')}`);
  const wasm = gzippedKiB('zandrel.wasm'), js = gzippedKiB('zandrel.js');
  console.log(`size gzipped: zandrel.wasm ${wasm.toFixed(1)} KiB + zandrel.js ${js.toFixed(1)} KiB` +
              ` = ${(wasm + js).toFixed(1)} KiB`);

  const firsts = [];
  for (let i = 0; i < 5; ++i) {
    const page = await openPage(session);
    await waitForWindow(page, 'Zandrel');
    firsts.push(await page.evaluate(() => Module.zandrel.firstFrameMs));
    await page.close();
  }
  firsts.sort((a, b) => a - b);
  console.log(`navigation to first frame: median ${percentile(firsts, 0.5).toFixed(1)} ms` +
              ` (of ${firsts.map((t) => t.toFixed(0)).join(', ')})`);

  const page = await openPage(session);
  const main = await waitForWindow(page, 'Zandrel');
  await ticks(64);
  const idle = await busyShare(page, 10);
  console.log(`main thread while idle in the start wait: ${idle.text()}`);
  await playWithWalls(page, main);
  await page.close();
} finally {
  await session.close();
}
