import { startBrowser, openPage } from './harness.mjs';
const s = await startBrowser();
const page = await openPage(s);
await page.waitForFunction(() => document.body.dataset.state, { timeout: 300000, polling: 500 });
console.log(page.messages.join('\n'));
await s.close();
