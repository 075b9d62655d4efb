// The photo worker's side of moviquel_photos.js (added to emscripten's output): each message
// is one photo, {id, bytes, contain}; the answer is {id, pixels} (the 640x480 frame, words
// 0x00RRGGBB, handed over without a copy) or {id, problem}. Photos that come before the
// WebAssembly is ready wait for it.
(function () {
  "use strict";
  const waiting = [];
  let ready = false;
  function fit({ id, bytes, contain }) {
    HEAPU8.set(bytes, _mq_photo_buffer(bytes.length));
    const at = _mq_photo_fit(contain ? 1 : 0);
    if (at) {
      const pixels = HEAPU32.slice(at >> 2, (at >> 2) + 640 * 480);
      postMessage({ id, pixels }, [pixels.buffer]);
    } else {
      postMessage({ id, problem: UTF8ToString(_mq_photo_problem()) });
    }
  }
  Module.onRuntimeInitialized = () => {
    ready = true;
    waiting.splice(0).forEach(fit);
  };
  self.onmessage = (e) => (ready ? fit(e.data) : waiting.push(e.data));
})();
