import { defaultKeymap, history, historyKeymap } from "@codemirror/commands";
import { search, searchKeymap } from "@codemirror/search";
import { Compartment, EditorState, RangeSet, RangeSetBuilder, type Extension } from "@codemirror/state";
import {
  Decoration, type DecorationSet, EditorView, GutterMarker, ViewPlugin, type ViewUpdate,
  drawSelection, gutter, highlightActiveLine, keymap, lineNumbers,
} from "@codemirror/view";
import type { HighlightRun } from "./quarzel";

// What the source view asks of the page: the module's highlighting of one line, which
// lines hold a breakpoint or PC, and what to do on a click in the breakpoint gutter.
export interface SourceMarks {
  highlight(text: string): HighlightRun[];
  breakpointLines(): Set<number>;  // 0-based
  pcLine(): number;                // 0-based, -1 none
  toggleBreakpoint(line: number): void;
}

const classMarks = new Map<string, Decoration>();
const classMark = (cls: string) => {
  let mark = classMarks.get(cls);
  if (!mark) classMarks.set(cls, (mark = Decoration.mark({ class: `hl-${cls}` })));
  return mark;
};
const pcLineMark = Decoration.line({ class: "cm-pc-line" });

// Only the lines on screen are highlighted, so a long source costs no more than a short one.
function decorate(view: EditorView, marks: SourceMarks): DecorationSet {
  const builder = new RangeSetBuilder<Decoration>();
  const pc = marks.pcLine();
  for (const { from, to } of view.visibleRanges) {
    for (let pos = from; pos <= to;) {
      const line = view.state.doc.lineAt(pos);
      if (line.number - 1 === pc) builder.add(line.from, line.from, pcLineMark);
      for (const run of marks.highlight(line.text))
        if (run.to > run.from) builder.add(line.from + run.from, line.from + run.to, classMark(run.cls));
      pos = line.to + 1;
    }
  }
  return builder.finish();
}

class BreakpointDot extends GutterMarker {
  toDOM() {
    const dot = document.createElement("span");
    dot.className = "cm-breakpoint";
    dot.setAttribute("aria-label", "Breakpoint");
    return dot;
  }
}
const dot = new BreakpointDot();

export class SourceView {
  readonly view: EditorView;
  private readonly readOnly = new Compartment();

  constructor(parent: HTMLElement, marks: SourceMarks, edited: () => void,
              caretMoved: (line: number, column: number) => void, keys: Extension) {
    const highlighting = ViewPlugin.fromClass(class {
      decorations: DecorationSet;
      constructor(view: EditorView) { this.decorations = decorate(view, marks); }
      update(update: ViewUpdate) {
        // The page redraws after a step or a run by dispatching an empty transaction.
        this.decorations = decorate(update.view, marks);
      }
    }, { decorations: (plugin) => plugin.decorations });
    const breakpointGutter = gutter({
      class: "cm-breakpoint-gutter",
      markers: (view) => {
        const doc = view.state.doc;
        const lines = [...marks.breakpointLines()].filter((l) => l >= 0 && l < doc.lines).sort((a, b) => a - b);
        return RangeSet.of(lines.map((l) => dot.range(doc.line(l + 1).from)));
      },
      domEventHandlers: {
        mousedown: (view, line) => {
          marks.toggleBreakpoint(view.state.doc.lineAt(line.from).number - 1);
          return true;
        },
      },
    });
    this.view = new EditorView({
      parent,
      state: EditorState.create({
        doc: "",
        extensions: [
          keys, breakpointGutter, lineNumbers(), history(), drawSelection(),
          this.readOnly.of(EditorState.readOnly.of(false)),
          highlightActiveLine(), search(), highlighting,
          keymap.of([...defaultKeymap, ...historyKeymap, ...searchKeymap]),
          EditorView.contentAttributes.of({ "aria-label": "Assembler source", id: "TextEditorContent" }),
          EditorView.updateListener.of((update) => {
            if (update.docChanged) edited();
            if (update.selectionSet || update.docChanged) {
              const head = update.state.selection.main.head;
              const line = update.state.doc.lineAt(head);
              caretMoved(line.number, head - line.from + 1);
            }
          }),
        ],
      }),
    });
  }

  get text(): string { return this.view.state.doc.toString(); }

  setText(text: string): void {
    this.view.dispatch({ changes: { from: 0, to: this.view.state.doc.length, insert: text },
                         selection: { anchor: 0 } });
  }

  // A worked example's text can be read, searched and stepped through, not changed.
  setReadOnly(readOnly: boolean): void {
    this.view.dispatch({ effects: this.readOnly.reconfigure(EditorState.readOnly.of(readOnly)) });
    this.view.contentDOM.setAttribute("aria-readonly", String(readOnly));
  }

  // Redraws the marks (breakpoints, PC's line) after the machine changed them.
  redraw(): void { this.view.dispatch({}); }

  caretLine(): number { return this.view.state.doc.lineAt(this.view.state.selection.main.head).number - 1; }

  // Puts the caret at a 0-based line and column, as an error's place, and focuses the text.
  goTo(line: number, column: number): void {
    const doc = this.view.state.doc;
    if (line < 0 || line >= doc.lines) return;
    const target = doc.line(line + 1);
    const anchor = Math.min(target.from + column, target.to);
    this.view.dispatch({ selection: { anchor }, scrollIntoView: true });
    this.view.focus();
  }
}
