// Looks up the page's fixed elements by their field name (the id), failing loudly when
// the page and the code disagree.
export function byId<T extends HTMLElement = HTMLElement>(id: string): T {
  const element = document.getElementById(id);
  if (!element) throw new Error(`the page has no element #${id}`);
  return element as T;
}

export function make<K extends keyof HTMLElementTagNameMap>(
  tag: K, attributes: Record<string, string> = {}, text = ""): HTMLElementTagNameMap[K] {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) element.setAttribute(name, value);
  if (text) element.textContent = text;
  return element;
}

export function hex(value: number, digits: number): string {
  return value.toString(16).toUpperCase().padStart(digits, "0");
}
