// Plays the project's movies and sample video in an independent player (its web build in
// headless Chromium) and checks what a person would see: pictures from screenshots, the
// movie's calls out through ExternalInterface, and its callbacks called in.
//   node run.mjs --site DIR --modules DIR --out DIR
// DIR of --site holds the movies and the video; --modules the installed node_modules.
import { createServer } from "node:http";
import { createRequire } from "node:module";
import { mkdtempSync, mkdirSync, readFileSync, rmSync, writeFileSync, existsSync } from "node:fs";
import { tmpdir } from "node:os";
import { extname, join, normalize } from "node:path";
import { fileURLToPath } from "node:url";
import { allChecks } from "./checks.mjs";

const options = {};
for (let i = 2; i < process.argv.length; i += 2) options[process.argv[i].slice(2)] = process.argv[i + 1];
const here = fileURLToPath(new URL(".", import.meta.url));
const site = options.site, out = options.out;
const ruffle = join(options.modules, "@ruffle-rs", "ruffle");
// The packages live in the build tree, not beside this script.
const { chromium } = createRequire(join(options.modules, "resolve.js"))("playwright-core");
mkdirSync(out, { recursive: true });

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
                ".swf": "application/x-shockwave-flash", ".flv": "video/x-flv", ".map": "application/json" };

// Serves the page, the player's files and the site's files; nothing else.
function serve(request, response) {
  const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
  let file;
  if (path === "/page.html") file = join(here, "page.html");
  else if (path.startsWith("/ruffle/")) file = join(ruffle, normalize(path.slice(8)));
  else file = join(site, normalize(path.slice(1)));
  if (file.includes("..") || !existsSync(file)) {
    response.writeHead(404).end();
    return;
  }
  const bytes = readFileSync(file);
  response.writeHead(200, { "Content-Type": types[extname(file)] || "application/octet-stream",
                            "Content-Length": bytes.length });
  response.end(bytes);
}

const server = createServer(serve);
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const origin = `http://127.0.0.1:${server.address().port}`;

const profile = mkdtempSync(join(tmpdir(), "zn-chromium-"));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  viewport: { width: 800, height: 600 },
});
// A page of its own turns screenshots into pixels and reads them (analysis.js).
const decoder = await context.newPage();
await decoder.addScriptTag({ path: join(here, "analysis.js") });

const tools = {
  origin, out,
  pages: [],
  async open(movie, width, height, record) {
    const page = await context.newPage();
    tools.pages.push(page);
    page.on("console", (message) => { if (message.type() === "error") console.log(`  console: ${message.text()}`); });
    await page.goto(`${origin}/page.html?movie=${movie}&width=${width}&height=${height}&record=${record.join(",")}`);
    return page;
  },
  async calls(page) { return page.evaluate(() => window.calls); },
  async waitForCall(page, name, timeout = 20000, test = () => true) {
    const end = Date.now() + timeout;
    while (Date.now() < end) {
      const found = (await tools.calls(page)).find((call) => call.name === name && test(call));
      if (found) return found;
      await page.waitForTimeout(100);
    }
    throw new Error(`no call to ${name} within ${timeout} ms`);
  },
  // Takes a screenshot of the player's area (kept as NAME.png when a name is given) and
  // answers window.analysis[analysis](image, argument) for it.
  async shoot(page, width, height, name, analysis, argument) {
    const png = await page.screenshot({ clip: { x: 0, y: 0, width, height } });
    if (name) writeFileSync(join(out, `${name}.png`), png);
    return decoder.evaluate(async ({ data, analysis, argument }) => {
      const image = new Image();
      image.src = `data:image/png;base64,${data}`;
      await image.decode();
      const canvas = document.createElement("canvas");
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext("2d");
      context.drawImage(image, 0, 0);
      return window.analysis[analysis](context.getImageData(0, 0, image.width, image.height), argument);
    }, { data: png.toString("base64"), analysis, argument });
  },
};

let passed = 0, failed = 0;
const deadline = setTimeout(() => { console.log("independent player check: out of time"); process.exit(1); }, 240000);
for (const [name, check] of allChecks(site)) {
  const started = Date.now();
  try {
    await check(tools);
    ++passed;
    console.log(`ok   ${name} (${Date.now() - started} ms)`);
  } catch (error) {
    ++failed;
    console.log(`FAIL ${name}: ${error.message}`);
    for (const [index, page] of tools.pages.entries())
      await page.screenshot({ path: join(out, `failed-${passed + failed}-${index}.png`) }).catch(() => {});
  }
  for (const page of tools.pages.splice(0)) await page.close().catch(() => {});
}
clearTimeout(deadline);
await context.close();
server.close();
rmSync(profile, { recursive: true, force: true });
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
