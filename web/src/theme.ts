// Light, Dark or High Contrast; "System" follows the browser's colour scheme until the
// user picks one, and the pick is kept for the next visit.
import { KeptKeys } from "./kept";

export type ThemeChoice = "System" | "Light" | "Dark" | "HighContrast";
const Choices: ThemeChoice[] = ["System", "Light", "Dark", "HighContrast"];

function storedChoice(): ThemeChoice {
  const stored = localStorage.getItem(KeptKeys.theme);
  return Choices.find((choice) => choice === stored) ?? "System";
}

export function lookOf(choice: ThemeChoice, prefersDark: boolean): Exclude<ThemeChoice, "System"> {
  if (choice !== "System") return choice;
  return prefersDark ? "Dark" : "Light";
}

export function setUpTheme(menu: HTMLSelectElement): void {
  const scheme = matchMedia("(prefers-color-scheme: dark)");
  let choice = storedChoice();
  const apply = () => {
    document.documentElement.dataset.look = lookOf(choice, scheme.matches);
    menu.value = choice;
  };
  scheme.addEventListener("change", apply);
  menu.addEventListener("change", () => {
    choice = Choices.find((c) => c === menu.value) ?? "System";
    localStorage.setItem(KeptKeys.theme, choice);
    apply();
  });
  apply();
}
