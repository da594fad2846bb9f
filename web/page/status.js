// The status bar (the host's status text, the plug-in's running command,
// the connection to the host) and the notices: the message boxes shown,
// and what went wrong with a request of this page.

import { element, byId } from './dom.js';

let pageProblems = [];

function showNoticeList(notices) {
  const items = [
    ...notices.map((notice) => element('li', {}, [
      element('strong', { text: notice.caption }),
      element('span', { className: 'notice-text', text: notice.text }),
    ])),
    ...pageProblems.map((problem) => element('li', { className: 'problem', text: problem })),
  ];
  byId('notice-list').replaceChildren(...items);
  byId('notices').hidden = items.length === 0;
}

let lastNotices = [];

// Shows the host's state ({status, running, notices}).
export function showHostStatus(host) {
  byId('host-title').textContent = host.title;
  document.title = host.title;
  byId('status-text').textContent = host.status;
  byId('running-text').textContent = host.running ? `Running: ${host.running}` : '';
  lastNotices = host.notices;
  showNoticeList(lastNotices);
}

// A request of this page that the host refused or could not answer.
export function reportProblem(text) {
  pageProblems = [...pageProblems.slice(-4), text];
  showNoticeList(lastNotices);
}

export function clearProblems() {
  pageProblems = [];
  showNoticeList(lastNotices);
}

export function showConnection(connected) {
  byId('connection-text').textContent = connected ? '' : 'Reconnecting to the host\u2026';
}
