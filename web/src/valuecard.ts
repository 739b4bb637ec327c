import type { CellKind, Machine } from "./quarzel";

// The value card of a memory or register cell: on hover, and on "?" for the cell that has
// the keyboard focus (the card is then also the cell's description for screen readers).
const HoverDelayMs = 400;

export function watchValueCards(card: HTMLElement, machine: Machine,
                                grids: [HTMLElement, CellKind][]): void {
  let timer = 0;
  const show = (cell: HTMLElement, kind: CellKind) => {
    const lines = machine.valueCard(kind, Number(cell.dataset.index));
    if (!lines.length) return hide();
    card.textContent = lines.join("\n");
    card.id = "ValueCard";
    cell.setAttribute("aria-describedby", "ValueCard");
    const box = cell.getBoundingClientRect();
    card.hidden = false;
    card.style.left = `${Math.min(box.right + 4, innerWidth - card.offsetWidth - 4)}px`;
    card.style.top = `${Math.min(box.bottom + 4, innerHeight - card.offsetHeight - 4)}px`;
  };
  const hide = () => {
    clearTimeout(timer);
    card.hidden = true;
  };
  for (const [grid, kind] of grids) {
    const cellOf = (target: EventTarget | null) =>
      (target as HTMLElement | null)?.closest?.<HTMLElement>("[role=gridcell]") ?? null;
    grid.addEventListener("mouseover", (event) => {
      const cell = cellOf(event.target);
      clearTimeout(timer);
      if (cell) timer = window.setTimeout(() => show(cell, kind), HoverDelayMs);
    });
    grid.addEventListener("mouseleave", hide);
    grid.addEventListener("keydown", (event) => {
      const cell = cellOf(event.target);
      if (event.key === "?" && cell) {
        event.preventDefault();
        if (card.hidden) show(cell, kind); else hide();
      } else if (event.key === "Escape" || event.key.startsWith("Arrow")) {
        hide();
      }
    });
    grid.addEventListener("focusout", (event) => {
      if (!grid.contains(event.relatedTarget as Node | null)) hide();
    });
  }
}
