// The window gallery (tests/web/window_gallery.cpp): tavi-host's page over
// every dialog template of the plug-in and a window of many rows.
// scripts/test.sh sets TAVI_WINDOW_GALLERY to the built program.

const fs = require('node:fs');
const { spawn } = require('node:child_process');

function galleryProgram() {
  const program = process.env.TAVI_WINDOW_GALLERY;
  if (!program || !fs.existsSync(program)) {
    throw new Error('TAVI_WINDOW_GALLERY must name the built window_gallery (scripts/test.sh sets it)');
  }
  return program;
}

// Starts the gallery with `rows` rows and waits for its address.
async function startGallery(rows = 10000) {
  const child = spawn(galleryProgram(), ['--rows', String(rows)], { stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  const address = await new Promise((resolve, reject) => {
    child.stdout.on('data', (chunk) => {
      output += chunk;
      const found = output.match(/open (http:\/\/127\.0\.0\.1:\d+\/\?token=[0-9a-f]+) /);
      if (found) resolve(found[1]);
    });
    child.stderr.on('data', (chunk) => { output += chunk; });
    exited.then(({ code }) => reject(new Error(`window_gallery ended (${code}):\n${output}`)));
  });
  return {
    address,
    origin: new URL(address).origin,
    stop: async () => {
      child.kill('SIGTERM');
      return exited;
    },
  };
}

// What the gallery's windows heard so far.
async function galleryLog(page) {
  return page.evaluate(async () => (await fetch('/api/gallery/log')).json());
}

module.exports = { startGallery, galleryLog };
