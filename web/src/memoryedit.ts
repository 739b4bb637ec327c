import type { HexGrid } from "./hexgrid";
import type { Machine } from "./quarzel";

// The memory grid's Edit commands, as on the desktop: Del clears the selection (all of
// memory with none), Ctrl+C/X copy or cut it to the program's own clipboard, Ctrl+V pastes
// from the one selected cell on (what would fall past FF is dropped), Ctrl+A selects all.
// wrote is told after a command that wrote memory.
export function setUpMemoryEdit(grid: HexGrid, machine: Machine, wrote: () => void): void {
  let clipboard: number[] = [];
  const clear = (lo: number, hi: number) => {
    for (let a = lo; a <= hi; ++a) machine.setMemory(a, 0);
  };
  const copy = () => {
    const [lo, hi] = grid.selectionBounds();
    if (lo >= 0) clipboard = [...machine.memory().subarray(lo, hi + 1)];
    return false;
  };
  // Each command says whether it wrote memory.
  const commands: Record<string, () => boolean> = {
    Delete: () => {
      const [lo, hi] = grid.selectionBounds();
      if (lo < 0) machine.clearMemory(); else clear(lo, hi);
      return true;
    },
    "Ctrl+c": copy,
    "Ctrl+x": () => {
      const [lo, hi] = grid.selectionBounds();
      if (lo < 0) return false;
      copy();
      clear(lo, hi);
      return true;
    },
    "Ctrl+v": () => {
      const [lo, hi] = grid.selectionBounds();
      if (!clipboard.length) {
        alert("Nothing on the clipboard to paste.");
      } else if (lo < 0 || lo !== hi) {
        alert("No destination selected.\nSelect one cell to mark the start of the destination.");
      } else {
        clipboard.slice(0, 256 - lo).forEach((value, i) => machine.setMemory(lo + i, value));
        return true;
      }
      return false;
    },
    "Ctrl+a": () => (grid.selectAll(), false),
  };
  grid.host.addEventListener("keydown", (event) => {
    const command = commands[(event.ctrlKey ? "Ctrl+" : "") + event.key];
    if (!command || event.altKey || event.shiftKey) return;
    event.preventDefault();
    if (command()) wrote();
  });
}
