// The desktop's keys, where a page may have them. A key the browser keeps for itself
// (Ctrl+N, Ctrl+T, Ctrl+W) never reaches the page, so those commands take Alt instead.
export type KeyMap = Record<string, () => void>;

export function keyName(event: KeyboardEvent): string {
  return (event.ctrlKey ? "Ctrl+" : "") + (event.altKey ? "Alt+" : "") +
         (event.shiftKey ? "Shift+" : "") + (event.key.length === 1 ? event.key.toUpperCase() : event.key);
}

// Keys act unless something focused (the editor, a grid) already handled them.
export function bindKeys(keys: KeyMap): void {
  window.addEventListener("keydown", (event) => {
    if (event.defaultPrevented) return;
    const command = keys[keyName(event)];
    if (!command) return;
    event.preventDefault();
    command();
  });
}
