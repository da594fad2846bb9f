// A list view drawn virtually: the body is as tall as all its rows, and
// only the rows in sight are fetched from the host and drawn, so a list of
// ten thousand rows costs what a screenful does. Rows are fetched again
// whenever the view changes or scrolls.

import { element } from './dom.js';
import { getJson, coalesced } from './api.js';
import { sendInput, modifiersOf } from './window_input.js';

const kRowHeight = 17;     // the window system's row height
const kHeaderHeight = 20;  // and its header's
const kExtraRows = 4;      // drawn beyond the edge, so that a small scroll shows no gap

function iconImage(iconId) {
  if (!iconId) return null;
  return element('img', { className: 'row-image', attributes: { src: `/api/icons/${iconId}.svg`, alt: '' } });
}

export class ListView {
  constructor(handle) {
    this.handle = handle;
    this.state = null;
    this.header = element('div', { className: 'list-header', attributes: { role: 'row' } });
    this.rows = element('div', { className: 'list-rows', attributes: { role: 'rowgroup' } });
    this.spacer = element('div', { className: 'list-spacer' }, [this.rows]);
    this.body = element('div', { className: 'list-body' }, [this.spacer]);
    this.element = element('div', {
      className: 'control list-view', attributes: { role: 'grid', tabindex: '-1' },
    }, [this.header, this.body]);
    this.client = this.element;
    this.shownTopRow = -1;
    this.refreshRows = coalesced(() => this.fetchRows());
    this.body.addEventListener('scroll', () => this.refreshRows());
    this.body.addEventListener('click', (event) => this.clicked(event, event.detail >= 2 ? 'double' : 'left'));
    this.body.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      this.clicked(event, 'right');
    });
    this.body.addEventListener('mousedown', (event) => event.stopPropagation());
    this.header.addEventListener('mousedown', (event) => event.stopPropagation());
  }

  // The row under the pointer, or -1 below the rows.
  clicked(event, click) {
    event.stopPropagation();
    const row = event.target.closest('.list-row');
    const index = row ? Number(row.dataset.row) : -1;
    sendInput({ kind: 'list_click', window: this.handle, row: index, click, ...modifiersOf(event) });
  }

  update(state) {
    const list = state.list_view;
    const headerShown = !state.style.includes('no_column_header');
    this.state = state;
    this.header.hidden = !headerShown;
    this.header.replaceChildren(...list.columns.map((column, index) => {
      const title = element('div', {
        className: 'list-column', text: column.title, attributes: { role: 'columnheader' },
      });
      title.style.width = `${column.width}px`;
      title.addEventListener('click', () => sendInput({ kind: 'column_click', window: this.handle, column: index }));
      return title;
    }));
    this.body.style.top = `${headerShown ? kHeaderHeight : 0}px`;
    this.spacer.style.height = `${list.row_count * kRowHeight}px`;
    this.spacer.style.width = `${list.columns.reduce((sum, column) => sum + column.width, 0)}px`;
    // The program scrolled the view (a row made visible): follow it.
    if (list.top_row !== this.shownTopRow) {
      this.shownTopRow = list.top_row;
      this.body.scrollTop = list.top_row * kRowHeight;
    }
    this.refreshRows();
  }

  async fetchRows() {
    const first = Math.max(0, Math.floor(this.body.scrollTop / kRowHeight) - kExtraRows);
    const count = Math.ceil(this.body.clientHeight / kRowHeight) + 2 * kExtraRows + 1;
    const answer = await getJson(`/api/windows/${this.handle}/rows?first=${first}&count=${count}`);
    if (answer.ok && this.state) this.drawRows(answer.data);
  }

  drawRows(read) {
    const list = this.state.list_view;
    this.rows.style.top = `${read.first * kRowHeight}px`;
    this.rows.replaceChildren(...read.rows.map((row) => {
      const cells = list.columns.map((column, index) => {
        const cell = element('div', { className: 'list-cell', attributes: { role: 'gridcell' } });
        cell.style.width = `${column.width}px`;
        if (index === 0 && list.images.length > 0) {
          const image = iconImage(list.images[row.image]);
          if (image) cell.append(image);
        }
        cell.append(document.createTextNode(row.texts[index] || ''));
        return cell;
      });
      const made = element('div', {
        className: 'list-row', attributes: { role: 'row', 'data-row': row.index, 'aria-selected': String(row.selected) },
      }, cells);
      made.classList.toggle('selected', row.selected);
      made.classList.toggle('focused-row', row.focused);
      return made;
    }));
  }
}
