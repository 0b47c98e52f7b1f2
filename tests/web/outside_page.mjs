// Opens a program's page, built outside the tree, in headless Chromium and
// waits for its window: node outside_page.mjs FOLDER NAME TITLE.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serve } from './server.mjs';
import { FLAGS, waitForWindow } from './harness.mjs';

const [folder, name, title] = process.argv.slice(2);
const profile = mkdtempSync(join(tmpdir(), 'zandrel-chromium-'));
const { server, url } = await serve(folder);
const browser = await puppeteer.launch({
  executablePath: process.env.ZANDREL_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: [...FLAGS, `--user-data-dir=${profile}`],
});
let status = 1;
try {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(url.replace(/zandrel\.html$/, `${name}.html`));
  await waitForWindow(page, title, 20000);
  if (errors.length) throw new Error(errors.join('\n'));
  status = 0;
} catch (error) {
  console.error(`${name}.html: ${error.message}`);
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
process.exit(status);
