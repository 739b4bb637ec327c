import type { Machine, SliceResult } from "./quarzel";

// Runs the machine in slices from animation frames, so the page keeps answering input
// and repaints between them. At full speed a frame runs slices until its time budget is
// spent (the engine is optimised between calls, not within one long call); at a set rate
// each frame runs the instructions that are due.
const FrameBudgetMs = 10;
const FirstSlice = 20_000;

export class RunControl {
  private rate = 0;  // instructions per second; 0: full speed
  private sliceSize = FirstSlice;
  private due = 0;
  private last = 0;
  private frame = 0;
  // Figures for the benchmark: instructions and frames since the run started.
  executed = 0;
  frames = 0;
  private startedAt = 0;
  private endedAt = 0;

  constructor(private readonly machine: Machine,
              private readonly frameDone: () => void,
              private readonly ended: () => void) {}

  setRate(rate: number): void {
    this.rate = rate;
    this.due = 0;
  }

  start(back: boolean): void {
    if (this.machine.running()) return;
    this.machine.startRun(back);
    this.executed = this.frames = 0;
    this.startedAt = performance.now();
    this.endedAt = 0;
    this.due = this.rate ? 1 : 0;  // a slowed run shows its first step at once
    this.last = performance.now();
    this.frame = requestAnimationFrame((t) => this.tick(t));
  }

  stop(): void {
    cancelAnimationFrame(this.frame);
    if (this.machine.running()) this.machine.stop();
    this.finish();
  }

  elapsedMs(): number {
    return (this.endedAt || performance.now()) - this.startedAt;
  }

  private finish(): void {
    this.endedAt ||= performance.now();
    this.ended();
  }

  private tick(now: number): void {
    const result = this.rate ? this.runDue(now) : this.runFull();
    ++this.frames;
    this.frameDone();
    if (result.running) this.frame = requestAnimationFrame((t) => this.tick(t));
    else this.finish();
  }

  private runFull(): SliceResult {
    const start = performance.now();
    let result: SliceResult;
    do {
      const sliceStart = performance.now();
      result = this.machine.runSlice(this.sliceSize);
      this.executed += result.executed;
      // Slices of about a millisecond: long enough to be cheap, short enough to stop in time.
      const took = performance.now() - sliceStart;
      if (took < 0.5) this.sliceSize = Math.min(this.sliceSize * 2, 1 << 24);
      else if (took > 2) this.sliceSize = Math.max(1000, this.sliceSize >> 1);
    } while (result.running && performance.now() - start < FrameBudgetMs);
    return result;
  }

  private runDue(now: number): SliceResult {
    this.due += ((now - this.last) * this.rate) / 1000;
    this.last = now;
    const count = Math.floor(this.due);
    this.due -= count;
    if (count === 0) return { outcome: "limit", executed: 0, running: this.machine.running() };
    const result = this.machine.runSlice(count);
    this.executed += result.executed;
    return result;
  }
}
