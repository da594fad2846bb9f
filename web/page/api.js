// How the page talks to the host: JSON over fetch, and one stream of
// server-sent events that says what changed.

// The host's answer to a request: whether it succeeded, its status and its
// JSON (an {error} object when it failed).
async function answerOf(response) {
  let data = {};
  try {
    data = await response.json();
  } catch {
    // A body that is not JSON: only the status speaks.
  }
  return { ok: response.ok, status: response.status, data };
}

export async function getJson(path) {
  return answerOf(await fetch(path, { credentials: 'same-origin' }));
}

export async function postJson(path, body) {
  return answerOf(await fetch(path, {
    method: 'POST',
    credentials: 'same-origin',
    headers: { 'Content-Type': 'application/json' },
    body: JSON.stringify(body),
  }));
}

// Calls handlers[name](data) for each event the host sends; onLost() when
// the stream breaks (the browser then reconnects by itself, and the host
// begins the new stream with "ready").
export function listen(handlers, onLost) {
  const source = new EventSource('/api/events');
  for (const [name, handler] of Object.entries(handlers)) {
    source.addEventListener(name, (event) => handler(JSON.parse(event.data)));
  }
  source.addEventListener('error', onLost);
  return source;
}

// A refresh that never runs twice at once: asked while it runs, it runs
// once more afterwards, however often it was asked meanwhile.
export function coalesced(refresh) {
  let running = false;
  let again = false;
  return async function run() {
    if (running) {
      again = true;
      return;
    }
    running = true;
    try {
      do {
        again = false;
        await refresh();
      } while (again);
    } finally {
      running = false;
    }
  };
}
