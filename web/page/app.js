// tavi-host's page: the host's mailboxes, messages and menus, and the
// plug-in's windows over them, kept up to date by the host's events. Everything it shows it fetches from the host;
// the host tells it when to fetch again.

import { getJson, postJson, listen, coalesced } from './api.js';
import { showMailboxTree } from './mailbox_tree.js';
import {
  showMessageList, clearMessageList, onArrowKeys, shownMessageNumbers,
} from './message_list.js';
import { showMessage, clearMessage } from './message_view.js';
import { setUpMenus, showMenus } from './menus.js';
import { byId } from './dom.js';
import {
  setUpWindows, refreshWindows, redrawWindows, openAddress,
} from './windows.js';
import {
  showHostStatus, reportProblem, clearProblems, showConnection,
} from './status.js';

const kPageSize = 500;

const state = {
  host: null,
  tree: { mailboxes: [] },
  mailbox: null,   // the chosen mailbox's number
  first: 0,        // the first message of the list's page
  list: null,
  message: null,   // the opened message's number
  opened: null,    // the opened message as the host answered it
  changes: 0,      // messages changed by a translator so far
};

// Runs a request; reports what the host refused or could not answer.
async function request(what, call) {
  try {
    const answer = await call();
    if (!answer.ok) {
      reportProblem(`${what}: ${answer.data.error || `the host answered ${answer.status}`}`);
    }
    return answer;
  } catch {
    reportProblem(`${what}: the host is not answering`);
    return { ok: false, status: 0, data: {} };
  }
}

function translators() {
  return state.host ? state.host.plugin.translators : [];
}

function showOpenedMessage() {
  if (state.opened) showMessage(state.opened, translators(), translate);
}

function showList() {
  showMessageList(state.list, state.message, openMessage, turnPage);
}

function showTree() {
  showMailboxTree(state.tree, state.mailbox, chooseMailbox);
}

const refreshHost = coalesced(async () => {
  const answer = await request('Reading the host', () => getJson('/api/host'));
  if (!answer.ok) return;
  state.host = answer.data;
  showHostStatus(state.host);
  showMenus(state.host, { menuItem: chooseMenuItem, settings: openSettings, automation: switchAutomation });
  showOpenedMessage();
});

const refreshTree = coalesced(async () => {
  const answer = await request('Reading the mailboxes', () => getJson('/api/mailboxes'));
  if (!answer.ok) return;
  state.tree = answer.data;
  showTree();
});

const refreshList = coalesced(async () => {
  if (state.mailbox === null) return;
  const path = `/api/mailboxes/${state.mailbox}/messages?first=${state.first}&count=${kPageSize}`;
  const answer = await request('Reading the messages', () => getJson(path));
  if (!answer.ok) return;
  state.list = answer.data;
  showList();
});

async function chooseMailbox(number) {
  const answer = await request('Opening the mailbox',
    () => postJson('/api/open-mailbox', { mailbox: number }));
  if (!answer.ok) return;
  Object.assign(state, { mailbox: number, first: 0, list: answer.data, message: null, opened: null });
  clearMessage();
  showList();
  showTree();
}

// `changed`: the message's text changed while it was shown; its body's
// address is made new, so that the frame loads it again.
async function openMessage(number, changed = false) {
  const answer = await request('Opening the message',
    () => postJson('/api/open-message', { mailbox: state.mailbox, message: number }));
  if (!answer.ok) return;
  state.changes += changed ? 1 : 0;
  if (state.changes > 0) answer.data.body += `?change=${state.changes}`;
  Object.assign(state, { message: number, opened: answer.data });
  showOpenedMessage();
  showList();
}

function openNeighbour(step) {
  const numbers = shownMessageNumbers();
  const at = numbers.indexOf(state.message);
  const next = at < 0 ? 0 : at + step;
  if (next >= 0 && next < numbers.length) openMessage(numbers[next]);
}

function turnPage(step) {
  state.first = Math.max(0, state.first + step * kPageSize);
  refreshList();
}

// A translator that replaced the message (result 0) changed what is shown:
// the message is opened again.
async function translate(translator, ctrl, shift) {
  const number = state.message;
  const answer = await request('Get the Full Article', () => postJson('/api/translate', {
    mailbox: state.mailbox, message: number, translator, ctrl, shift,
  }));
  if (answer.ok && answer.data.result === 0 && state.message === number) openMessage(number, true);
}

async function chooseMenuItem(item) {
  await request('The Special menu', () => postJson('/api/menu', { item }));
}

async function openSettings() {
  await request('The plug-in\'s settings', () => postJson('/api/settings', {}));
}

async function switchAutomation(enabled) {
  await request('The automation server', () => postJson('/api/automation', { enabled }));
}

function refreshAll() {
  showConnection(true);
  refreshHost();
  refreshTree();
  refreshList();
  redrawWindows();
}

setUpMenus();
setUpWindows();
onArrowKeys(openNeighbour);
byId('dismiss-notices').addEventListener('click', clearProblems);
clearMessageList();
listen({
  ready: refreshAll,
  host: refreshHost,
  mailboxes: refreshTree,
  messages: (changed) => {
    if (changed.mailbox === state.mailbox) refreshList();
  },
  windows: refreshWindows,
  open_address: openAddress,
}, () => showConnection(false));
