// What the independent player must show. Each check opens its own page and throws on the
// first thing that is not as expected.
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";

const wholeStage = { left: 0, top: 0, scale: 1 };

async function shownFrame(tools, page, name) {
  return tools.shoot(page, 320, 240, name, "frameCounter", wholeStage);
}

async function statusCodes(tools, page) {
  return (await tools.calls(page)).filter((call) => call.name === "streamStatus").map((call) => call.args[0]);
}

async function waitFor(page, what, read, timeout = 15000) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await read();
    if (value !== null && value !== undefined && value !== false) return value;
    if (Date.now() > end) throw new Error(`${what}: not within ${timeout} ms`);
    await page.waitForTimeout(200);
  }
}

// The playback movie's stage; its skins' control bar is the bottom 40 rows, the play button
// its first 45 pixels (720-pixel skins scaled to 550 across).
const stage = { width: 550, height: 400 };
const bar = { left: 0, top: 362, right: 550, bottom: 398 };
const playButton = { left: 0, top: 362, right: 45, bottom: 398 };

// The built-in playback movie with one skin, the host movie setting skin, volume and video.
function playbackCheck(skin) {
  return [`the playback movie plays the sample video with ${skin.name}`, async (tools) => {
    const page = await tools.open(`playback_${skin.name}.swf`, stage.width, stage.height, ["hostReady"]);
    await tools.waitForCall(page, "hostReady");
    const shoot = (name, analysis, argument) => tools.shoot(page, stage.width, stage.height, name, analysis, argument);
    const rgb = skin.icon.slice(0, 3);
    await waitFor(page, `the ${skin.name} icons`, async () =>
      (await shoot(null, "count", { colour: rgb, tolerance: 10, ...playButton })) > 60);
    if (skin.bar[3] === 255) {
      const barPixels = await shoot(null, "count", { colour: skin.bar.slice(0, 3), tolerance: 6, ...bar });
      assert.ok(barPixels > 0.6 * 550 * 36, `the ${skin.name} bar: ${barPixels} pixels`);
    }
    const placement = await waitFor(page, "the video", () => shoot(null, "videoPlacement"));
    if (skin.bar[3] === 255)
      assert.ok(placement.top + 240 * placement.scale <= bar.top, `the video above the bar: ${JSON.stringify(placement)}`);
    const frame = (name) => shoot(name, "frameCounter", placement);
    const first = await waitFor(page, "the frame counter", async () => { const n = await frame(); return n >= 0 ? n + 1 : null; }) - 1;
    await page.waitForTimeout(1000);
    const later = await frame(`playback_${skin.name}_playing`);
    assert.ok(later > first, `frames advance (${first}, then ${later})`);

    await page.evaluate(() => window.player.stopflv());
    await page.waitForTimeout(300);
    const paused = await frame(`playback_${skin.name}_paused`);
    await page.waitForTimeout(1000);
    assert.equal(await frame(), paused, "the picture holds after stopflv");
    await page.evaluate(() => window.player.playflv());
    await page.waitForTimeout(1000);
    const resumed = await frame(`playback_${skin.name}_resumed`);
    assert.ok(resumed > paused, `frames advance after playflv (${paused}, then ${resumed})`);
  }];
}

const checks = [
  ["the sample movie plays and calls out", async (tools) => {
    const page = await tools.open("sample.swf", 320, 240, ["movieReady"]);
    const ready = await tools.waitForCall(page, "movieReady");
    assert.deepEqual(ready.args, ["sample", 1]);
    const [square, background] = await tools.shoot(page, 320, 240, "sample", "samples", [[100, 60], [300, 20]]);
    assert.deepEqual(square, [0, 180, 0], "the green square");
    assert.deepEqual(background, [0x20, 0x30, 0x60], "the background");
  }],

  ["the sample video plays, pauses on stopflv and resumes on playflv", async (tools) => {
    const page = await tools.open("video_check.swf", 320, 240, ["movieReady", "streamStatus", "metaData"]);
    await tools.waitForCall(page, "movieReady");
    const metadata = await tools.waitForCall(page, "metaData");
    assert.deepEqual(metadata.args, [10, 320, 240, 12], "duration, width, height, frame rate");
    await tools.waitForCall(page, "streamStatus", 20000, (call) => call.args[0] === "NetStream.Play.Start");
    let first = -1;
    for (let tries = 0; tries < 50 && first < 0; ++tries) {
      await page.waitForTimeout(100);
      first = await shownFrame(tools, page);
    }
    assert.ok(first >= 0, "a video frame appears");
    await page.waitForTimeout(1000);
    const later = await shownFrame(tools, page, "video_playing");
    assert.ok(later > first, `frames advance (${first}, then ${later})`);
    assert.deepEqual(await tools.shoot(page, 320, 240, null, "videoPlacement"), wholeStage, "the video fills the stage");

    await page.evaluate(() => window.player.stopflv());
    await page.waitForTimeout(300);
    const paused = await shownFrame(tools, page, "video_paused");
    const pausedTime = await page.evaluate(() => window.player.streamTime());
    await page.waitForTimeout(1000);
    assert.equal(await shownFrame(tools, page), paused, "the picture holds while paused");
    assert.equal(await page.evaluate(() => window.player.streamTime()), pausedTime, "the time holds");

    await page.evaluate(() => window.player.playflv());
    await page.waitForTimeout(1000);
    const resumed = await shownFrame(tools, page, "video_resumed");
    assert.ok(resumed > paused, `frames advance again (${paused}, then ${resumed})`);
    const codes = await statusCodes(tools, page);
    console.log(`  status codes: ${codes.join(", ")}`);
    assert.ok(codes.includes("NetStream.Buffer.Full"), `status codes: ${codes}`);
  }],
];

// Every check, the playback movie's once with each skin.
export function allChecks(site) {
  const skins = JSON.parse(readFileSync(`${site}/skins.json`, "utf8"));
  return [...checks, ...skins.map(playbackCheck)];
}
