import type { Machine, SliceResult } from "./quarzel";

// Runs the machine while the page keeps answering input and repainting. At full speed
// the run goes on in tasks of a few milliseconds, one after another: the browser handles
// input and paints between tasks, and the engine optimises a function only between calls,
// not within one long call. The views are refreshed once per animation frame. At a set
// rate each frame runs the instructions that are due.
const TaskBudgetMs = 8;
const FirstSlice = 20_000;

export class RunControl {
  private rate = 0;  // instructions per second; 0: full speed
  private sliceSize = FirstSlice;
  private due = 0;
  private last = 0;
  private frame = 0;
  private readonly tasks = new MessageChannel();
  private taskPosted = false;
  // Figures for the benchmark: instructions and view refreshes since the run started.
  executed = 0;
  frames = 0;
  private startedAt = 0;
  private endedAt = 0;

  constructor(private readonly machine: Machine,
              private readonly frameDone: () => void,
              private readonly ended: () => void) {
    this.tasks.port1.onmessage = () => this.task();
  }

  setRate(rate: number): void {
    this.rate = rate;
    this.due = 0;
    this.last = performance.now();
    if (this.machine.running()) this.postTask();
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
    this.postTask();
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

  private postTask(): void {
    if (this.rate || this.taskPosted) return;
    this.taskPosted = true;
    this.tasks.port2.postMessage(null);
  }

  private task(): void {
    this.taskPosted = false;
    if (this.rate) return;  // slowed down meanwhile: the frames run it now
    if (this.runFull().running) this.postTask();
    else this.end();
  }

  private tick(now: number): void {
    if (this.rate && !this.runDue(now).running) return this.end();
    ++this.frames;
    this.frameDone();
    this.frame = requestAnimationFrame((t) => this.tick(t));
  }

  private end(): void {
    cancelAnimationFrame(this.frame);
    ++this.frames;
    this.frameDone();
    this.finish();
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
    } while (result.running && performance.now() - start < TaskBudgetMs);
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
