// What the independent player must show. Each check opens its own page and throws on the
// first thing that is not as expected.
import assert from "node:assert/strict";

const wholeStage = { left: 0, top: 0, scale: 1 };

async function shownFrame(tools, page, name) {
  return tools.shoot(page, 320, 240, name, "frameCounter", wholeStage);
}

async function statusCodes(tools, page) {
  return (await tools.calls(page)).filter((call) => call.name === "streamStatus").map((call) => call.args[0]);
}

export const checks = [
  ["the sample movie plays and calls out", async (tools) => {
    const page = await tools.open("sample.swf", 320, 240, ["movieReady"]);
    const ready = await tools.waitForCall(page, "movieReady");
    assert.deepEqual(ready.args, ["sample", 1]);
    const [square, background] = await tools.shoot(page, 320, 240, "sample", "samples", [[100, 60], [300, 20]]);
    assert.deepEqual(square, [0, 180, 0], "the green square");
    assert.deepEqual(background, [0x20, 0x30, 0x60], "the background");
    await page.close();
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
    await page.close();
  }],
];
