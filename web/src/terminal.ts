// The output window: a small character terminal of fixed rows and columns. Characters
// are appended to the current line, a full line or a line feed moves on (scrolling on the
// last row), backspace removes, a tab fills to the next multiple of 8. Taking back a
// character restores the text exactly: the state is kept before every CheckpointBytes-th
// character, and the characters since are written again.
export const Columns = 19, Rows = 4;
const Backspace = 8, Tab = 9, LineFeed = 10, TabWidth = 8;
const CheckpointBytes = 4096;
const MaxWritten = 1 << 22;  // then the older half is forgotten

interface State { lines: string[]; cur: number; }

export class Terminal {
  private lines: string[] = [];
  private cur = 0;
  private written: number[] = [];
  private checkpoints: State[] = [];

  constructor(private readonly glyph: (code: number) => string) {}

  text(): string { return this.lines.join("\n"); }

  write(code: number): void {
    if (this.written.length === MaxWritten) {
      this.written.splice(0, MaxWritten / 2);
      this.checkpoints.splice(0, MaxWritten / 2 / CheckpointBytes);
    }
    if (this.written.length === this.checkpoints.length * CheckpointBytes)
      this.checkpoints.push({ lines: [...this.lines], cur: this.cur });
    this.written.push(code);
    this.writeOne(code);
  }

  // False when nothing written is left to take back.
  takeBack(): boolean {
    if (this.written.length === 0) return false;
    this.written.pop();
    const k = Math.floor(this.written.length / CheckpointBytes);
    this.checkpoints.length = k + 1;
    this.lines = [...this.checkpoints[k].lines];
    this.cur = this.checkpoints[k].cur;
    for (let i = k * CheckpointBytes; i < this.written.length; ++i) this.writeOne(this.written[i]);
    return true;
  }

  private length(): number { return (this.lines[this.cur] ?? "").length; }

  private append(text: string): void {
    while (this.lines.length <= this.cur) this.lines.push("");
    this.lines[this.cur] += text;
  }

  private breakLine(): void {
    if (this.cur < Rows - 1) {
      ++this.cur;
      this.append("");
      return;
    }
    this.lines.shift();
    this.lines.push("");
  }

  private writeOne(code: number): void {
    // The wrap comes before the character, control codes included.
    if (this.length() >= Columns || code === LineFeed) this.breakLine();
    if (code === Backspace) {
      if (this.length() > 0) this.lines[this.cur] = this.lines[this.cur].slice(0, -1);
    } else if (code === Tab) {
      do this.writeOne(32); while (this.length() % TabWidth !== 0);
    } else if (code !== LineFeed && code !== 0) {
      this.append(this.glyph(code));
    }
  }
}
