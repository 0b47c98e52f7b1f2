// A static file server for the page's folder on the loopback address, as
// `python3 -m http.server` would serve it, with WebAssembly's own type.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';

const TYPES = {
  '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
};

export async function serve(folder) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (path.includes('..')) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(join(folder, path === '/' ? 'zandrel.html' : path));
      response.writeHead(200, { 'Content-Type': TYPES[extname(path)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, url: `http://127.0.0.1:${server.address().port}/zandrel.html` };
}
