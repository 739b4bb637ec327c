// What the page keeps in the browser's storage between visits: the last source, the
// theme and the speed, which New forgets, and whether predict mode is on, which it keeps:
// that is how the student works, not part of a fresh start.
export const KeptKeys = {
  source: "quarzel.source", theme: "quarzel.theme", speed: "quarzel.speed", predict: "quarzel.predict",
};

export interface KeptSource { name: string; text: string; modified: boolean }

export function keepSource(source: KeptSource): void {
  try {
    localStorage.setItem(KeptKeys.source, JSON.stringify(source));
  } catch {
    // storage full or switched off: the source is only in the page, as without keeping
  }
}

export function keptSource(): KeptSource | undefined {
  try {
    const kept = JSON.parse(localStorage.getItem(KeptKeys.source) ?? "null");
    if (typeof kept?.name === "string" && typeof kept?.text === "string")
      return { name: kept.name, text: kept.text, modified: kept.modified !== false };
  } catch {
    // something else wrote there: nothing is kept
  }
  return undefined;
}

export function forgetKept(): void {
  for (const key of [KeptKeys.source, KeptKeys.theme, KeptKeys.speed]) localStorage.removeItem(key);
}
