import { make } from "./dom";

// A single-selection list as screen readers know one: arrow keys move the selection,
// Enter or a click chooses (the desktop's error list goes to the place on either).
export class ListBox {
  private items: HTMLElement[] = [];
  private selected = -1;

  constructor(readonly host: HTMLElement, label: string,
              private readonly chosen: (index: number) => void) {
    host.setAttribute("role", "listbox");
    host.setAttribute("aria-label", label);
    host.setAttribute("tabindex", "0");
    host.classList.add("list");
    host.addEventListener("click", (event) => {
      const index = this.indexOf(event.target);
      if (index >= 0 && !event.shiftKey && !event.ctrlKey) this.choose(index);
    });
    host.addEventListener("keydown", (event) => {
      const step = { ArrowDown: 1, ArrowUp: -1 }[event.key as "ArrowDown" | "ArrowUp"];
      if (step) {
        this.select(Math.max(0, Math.min(this.items.length - 1, this.selected + step)));
      } else if (event.key === "Enter" && this.selected >= 0) {
        this.chosen(this.selected);
      } else {
        return;
      }
      event.preventDefault();
    });
  }

  get count(): number { return this.items.length; }
  get selectedIndex(): number { return this.selected; }
  item(index: number): HTMLElement { return this.items[index]; }

  setItems(texts: string[]): void {
    this.items = texts.map((text, i) =>
      make("li", { role: "option", "aria-selected": "false", "data-index": String(i) }, text));
    this.host.replaceChildren(...this.items);
    this.selected = -1;
  }

  setText(index: number, text: string): void {
    if (this.items[index].textContent !== text) this.items[index].textContent = text;
  }

  select(index: number): void {
    this.items[this.selected]?.setAttribute("aria-selected", "false");
    this.selected = index;
    const item = this.items[index];
    if (!item) return;
    item.setAttribute("aria-selected", "true");
    this.host.setAttribute("aria-activedescendant", (item.id ||= `${this.host.id}-${index}`));
    // Scrolls the list only, never the page around it.
    const top = item.offsetTop, bottom = top + item.offsetHeight;
    if (top < this.host.scrollTop) this.host.scrollTop = top;
    else if (bottom > this.host.scrollTop + this.host.clientHeight)
      this.host.scrollTop = bottom - this.host.clientHeight;
  }

  private choose(index: number): void {
    this.select(index);
    this.chosen(index);
  }

  private indexOf(target: EventTarget | null): number {
    const item = (target as HTMLElement | null)?.closest?.("[role=option]");
    return item && this.host.contains(item) ? Number(item.getAttribute("data-index")) : -1;
  }
}
