// The page's figures in headless Chromium: its download size, the time from
// navigation to the first frame, the period between frames while playing,
// and the main thread's busy time per second while playing and while idle
// in the start wait. Prints one line per figure; asserts nothing.
// ZANDREL_CPU_SLOWDOWN=4 slows the page's processor four times, as a phone's
// (DevTools' CPU throttling), for the figures while playing.
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { openPage, startBrowser, ticks, waitForWindow, windows, WEB_DIR } from './harness.mjs';

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

const session = await startBrowser();
try {
  console.log(`load average: ${(await import('node:os')).loadavg().map((l) => l.toFixed(1)).join(' ')}`);
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
  await waitForWindow(page, 'Zandrel');
  const slowdown = Number(process.env.ZANDREL_CPU_SLOWDOWN || 1);
  if (slowdown > 1) {
    await (await page.createCDPSession()).send('Emulation.setCPUThrottlingRate', { rate: slowdown });
    console.log(`processor slowed ${slowdown} times`);
  }
  await ticks(64);
  const idle = await busyShare(page, 10);
  console.log(`main thread while idle in the start wait: ${idle.text()}`);

  // Play with the pointer still: every frame is the frame timer's.
  await page.keyboard.press('F10');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await ticks(32);
  const start = await page.evaluate(() => performance.now());
  let crashed = false;
  const playing = await busyShare(page, 8, async () => {
    for (let i = 0; i < 16 && !crashed; ++i) {
      await ticks(32);
      crashed = (await windows(page)).some((w) => w.title === 'Alert');
    }
  });
  const end = await page.evaluate(() => performance.now());
  const times = await page.evaluate(() => Module.zandrel.frameTimes.slice());
  const inPlay = times.filter((t) => t >= start && t <= end);
  const periods = inPlay.slice(1).map((t, i) => t - inPlay[i]).sort((a, b) => a - b);
  console.log(`main thread while playing: ${playing.text()}` +
              `${crashed ? ' (the ball crashed before 8 s)' : ''}`);
  console.log(`frame period while playing: median ${percentile(periods, 0.5).toFixed(3)} ms,` +
              ` p99 ${percentile(periods, 0.99).toFixed(3)} ms, over ${periods.length} frames` +
              ` (${(periods.filter((p) => Math.abs(p - 15.625) > 1).length)} more than 1 ms off)`);
  await page.close();
} finally {
  await session.close();
}
