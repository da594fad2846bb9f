// The status bar (the host's status text, the plug-in's running command,
// the connection to the host) and the notices: what went wrong with a
// request of this page.

import { element, byId } from './dom.js';

let pageProblems = [];

function showNoticeList() {
  const items = pageProblems.map((problem) => element('li', { className: 'problem', text: problem }));
  byId('notice-list').replaceChildren(...items);
  byId('notices').hidden = items.length === 0;
}

// Shows the host's state ({title, status, running}).
export function showHostStatus(host) {
  byId('host-title').textContent = host.title;
  document.title = host.title;
  byId('status-text').textContent = host.status;
  byId('running-text').textContent = host.running ? `Running: ${host.running}` : '';
}

// A request of this page that the host refused or could not answer.
export function reportProblem(text) {
  pageProblems = [...pageProblems.slice(-4), text];
  showNoticeList();
}

export function clearProblems() {
  pageProblems = [];
  showNoticeList();
}

export function showConnection(connected) {
  byId('connection-text').textContent = connected ? '' : 'Reconnecting to the host\u2026';
}
