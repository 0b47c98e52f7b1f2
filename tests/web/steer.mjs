// A player for the measurements: it reads the game's field from the canvas
// and moves the pointer so that the ball passes through the gap of the next
// wall, as a person would, through the browser's own input. The game's
// rules and pixels are untouched; the reading costs the page's main thread
// a little, which the player counts (window.zandrelLookMs) so that it can be
// told apart.

// Runs in the page: one look at the field. `client` is the main window's
// client area on the screen, `ballX` the ball's left edge in it (the
// pointer's x, which the game takes). Returns where the ball should go
// (null: where it is) and the walls on the field.
function look(client, ballX) {
  const started = performance.now();
  const YELLOW = 0xffff00, BLUE = 0x0000ff, WHITE = 0xffffff;
  const context = document.getElementById('screen').getContext('2d');
  const [left, top, right, bottom] = client;
  const width = right - left, height = bottom - top;
  const rgb = (d, i) => (d[i] << 16) | (d[i + 1] << 8) | d[i + 2];
  const column = (x) => context.getImageData(left + x, top, 1, height).data;
  // The ball's middle column: its lowest white pixel is one row above its
  // bottom outline (the score's white box at the top may hide it there).
  const middle = column(ballX + 4);
  let ballTop = 0;
  for (let y = height - 1; y >= 0; --y) {
    if (rgb(middle, 4 * y) === WHITE) { ballTop = Math.max(0, y - 8); break; }
  }
  // A wall's rows are yellow in at least one of three columns 200 pixels
  // apart: its gap and the ball can each hide one.
  const probes = [150, 350, 550].map(column);
  const wallRows = [];
  for (let y = 0; y < height; ++y) {
    if (probes.some((d) => rgb(d, 4 * y) === YELLOW)) wallRows.push(y);
  }
  let walls = 0;
  wallRows.forEach((y, i) => { if (i === 0 || wallRows[i - 1] !== y - 1) ++walls; });
  // The next wall the ball meets: the lowest wall row above the ball's top
  // or touching it.
  const next = wallRows.filter((y) => y <= ballTop + 1).pop();
  let target = null;
  if (next !== undefined) {
    // The gap: a run of the field's blue, 40 pixels long, or what is left of
    // it at the client area's right edge. The ball may lie over the gap's
    // edge, and make the run up to its width longer; any other colour in
    // the run is the score's box over the wall, so the wall is left until
    // it comes out from under it.
    const row = context.getImageData(left, top + next, width, 1).data;
    let start = -1, clean = true;
    for (let x = 0; x <= width; ++x) {
      const pixel = x < width ? rgb(row, 4 * x) : YELLOW;
      if (pixel !== YELLOW) {
        if (start < 0) [start, clean] = [x, true];
        if (pixel !== BLUE && (x < ballX || x >= ballX + 10)) clean = false;
        continue;
      }
      if (start >= 0 && clean && (x - start >= 40 || (x === width && x - start >= 30)))
        target = start + 15;
      start = -1;
    }
  }
  window.zandrelLookMs = (window.zandrelLookMs || 0) + performance.now() - started;
  return { target, ballTop, walls };
}

// Starts steering on a page whose game is in play; `toCss` maps a layer
// pixel to the viewport's CSS pixels. The returned player's `walls()` counts
// the walls on the field, `counts()` how often it looked and moved and the
// lowest the ball's top has been; `stop()` ends the steering.
export async function startPlayer(page, client, toCss) {
  // Installed once, so that each look costs the page only its own work.
  await page.evaluate(`window.zandrelLook = ${look}`);
  const lookNow = () => page.evaluate((c, x) => window.zandrelLook(c, x), client, ballX);
  let ballX = 300, stopped = false, moves = 0, looks = 0, deepest = 0;
  const aimY = client[3] - 20;
  const moveTo = async (x) => {
    await page.mouse.move(...toCss(client[0] + x, aimY));
    ballX = x;
    ++moves;
  };
  // With all 20 walls in play one meets the ball about every sixth frame;
  // the ball goes for the next gap as soon as it is through the last, and a
  // look every few frames keeps it from being pushed down for long.
  // A page or browser closed under the player ends it; what else goes
  // wrong comes out of stop().
  let failure = null;
  const loop = (async () => {
    await moveTo(ballX);
    while (!stopped) {
      const seen = await lookNow();
      ++looks;
      deepest = Math.max(deepest, seen.ballTop);
      if (seen.target !== null && seen.target !== ballX) await moveTo(seen.target);
      await new Promise((done) => setTimeout(done, 40));
    }
  })().catch((error) => {
    if (!stopped) failure = error;
    stopped = true;
  });
  return {
    async walls() {
      return (await lookNow()).walls;
    },
    counts: () => ({ moves, looks, deepest }),
    async stop() {
      stopped = true;
      await loop;
      if (failure) throw failure;
    },
  };
}
