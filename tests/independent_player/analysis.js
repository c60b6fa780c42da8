// Reads screenshots in the browser's own image decoder. Each function takes the screenshot's
// ImageData; the sample video's geometry is the one player/swf/samples/sample_video.h draws.
const sampleVideo = {
  width: 320, firstBand: [230, 30, 30], bandWidth: 40, bandRows: 160,
  squareRow: 80, squareStep: 8, cellLeft: 20, cellSide: 40, cellRow: 200, cellBits: 7,
};

function colourAt(image, x, y) {
  const at = (Math.round(y) * image.width + Math.round(x)) * 4;
  return [image.data[at], image.data[at + 1], image.data[at + 2]];
}

function near(colour, wanted, tolerance) {
  return colour.every((channel, i) => Math.abs(channel - wanted[i]) <= tolerance);
}

window.analysis = {
  samples(image, points) {
    return points.map(([x, y]) => colourAt(image, x, y));
  },

  // How many pixels of the area are within `tolerance` of the colour.
  count(image, { colour, tolerance, left = 0, top = 0, right = image.width, bottom = image.height }) {
    let count = 0;
    for (let y = top; y < bottom; ++y)
      for (let x = left; x < right; ++x)
        if (near(colourAt(image, x, y), colour, tolerance)) ++count;
    return count;
  },

  // Where the sample video is shown and at what scale, found from its first (red) band; null
  // when no video is visible.
  videoPlacement(image) {
    let left = Infinity, top = Infinity, right = -1, bottom = -1;
    for (let y = 0; y < image.height; ++y)
      for (let x = 0; x < image.width; ++x)
        if (near(colourAt(image, x, y), sampleVideo.firstBand, 40)) {
          left = Math.min(left, x); right = Math.max(right, x);
          top = Math.min(top, y); bottom = Math.max(bottom, y);
        }
    if (right < 0) return null;
    const scale = (right - left + 1) / sampleVideo.bandWidth;
    if (Math.abs((bottom - top + 1) / sampleVideo.bandRows - scale) > 0.1 * scale) return null;
    return { left, top, scale };
  },

  // The white square's left edge in video pixels (8 per frame, wrapping at 320), or -1.
  squarePosition(image, { left, top, scale }) {
    const y = top + sampleVideo.squareRow * scale;
    let previous = false;
    for (let x = 0; x < sampleVideo.width; ++x) {
      const white = near(colourAt(image, left + (x + 0.5) * scale, y), [255, 255, 255], 40);
      if (white && !previous && x > 0) return x;
      previous = white;
    }
    return previous ? 0 : -1;
  },

  // The frame counter, or -1 when a cell is neither white nor black (covered, or no video).
  frameCounter(image, { left, top, scale }) {
    let number = 0;
    for (let bit = 0; bit < sampleVideo.cellBits; ++bit) {
      const x = sampleVideo.cellLeft + bit * sampleVideo.cellSide + sampleVideo.cellSide / 2;
      const [red, green, blue] = colourAt(image, left + x * scale, top + sampleVideo.cellRow * scale);
      const brightness = (red + green + blue) / 3;
      if (brightness > 200) number |= 1 << bit;
      else if (brightness > 60) return -1;
    }
    return number;
  },
};
