import type { Commands } from "./commands";
import { byId } from "./dom";
import { KeptKeys } from "./kept";
import type { Machine } from "./quarzel";

// Predict mode: before each Step the student types what it will change; Step (the button,
// F8, or Enter in the panel) steps through the prediction, and the panel says right or
// wrong with what the step did. The module judges and keeps the score, which starts again
// with every loaded program; the panel only shows them.
export class PredictPanel {
  private readonly panel = byId("PredictPanel");
  private readonly toggle = byId("MenuPredict");
  private readonly edit = byId<HTMLInputElement>("PredictEdit");
  private readonly result = byId("PredictResult");
  private readonly score = byId("PredictScore");

  constructor(private readonly machine: Machine, private readonly commands: Commands,
              restore: boolean) {
    this.toggle.addEventListener("click", () => this.setOn(!this.on, true));
    this.edit.addEventListener("keydown", (event) => {
      if (event.key !== "Enter") return;
      event.preventDefault();
      this.step();
    });
    this.loaded();
    if (restore && localStorage.getItem(KeptKeys.predict) === "on") this.setOn(true, false);
  }

  get on(): boolean { return !this.panel.hidden; }

  // A program was loaded: its score starts at nothing.
  loaded(): void {
    this.score.textContent = this.machine.predictScore();
    this.show("", "");
  }

  private setOn(on: boolean, byUser: boolean): void {
    this.panel.hidden = !on;
    this.toggle.setAttribute("aria-pressed", String(on));
    this.commands.setPredicting(on ? () => this.step() : undefined);
    if (byUser) {
      if (on) this.edit.focus();
      localStorage.setItem(KeptKeys.predict, on ? "on" : "off");
    }
  }

  // A text that is no prediction steps nothing: the panel says how to type one.
  private step(): void {
    const verdict = this.machine.predictStep(this.edit.value);
    this.score.textContent = verdict.score;
    this.show(verdict.text, verdict.stepped ? (verdict.right ? "right" : "wrong") : "");
    if (verdict.stepped) {
      this.edit.value = "";
      this.commands.showResult();
    } else {
      this.edit.focus();
      this.edit.select();
    }
  }

  private show(text: string, verdict: "right" | "wrong" | ""): void {
    this.result.textContent = text;
    this.result.dataset.verdict = verdict;
  }
}
