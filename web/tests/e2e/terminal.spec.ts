import { expect, test } from "@playwright/test";
import { Columns, Rows, Terminal } from "../../src/terminal";

// The output window's text rules, without a browser page.
const codes = (text: string) => [...text].map((c) => c.charCodeAt(0));
function written(input: number[]): Terminal {
  const terminal = new Terminal((code) => String.fromCharCode(code));
  for (const code of input) terminal.write(code);
  return terminal;
}
const x = (n: number) => "x".repeat(n);

test("writing: wrap before the character, line feed, scrolling, tab, backspace, code 0", () => {
  const cases: [string, number[], string][] = [
    ["plain text", codes("Hello"), "Hello"],
    ["a full line wraps before the next character", codes(x(Columns) + "y"), `${x(Columns)}\ny`],
    ["a line feed on the last row loses the top line",
     codes("a\nb\nc\nd\ne"), "b\nc\nd\ne"],
    ["a tab on an empty line is 8 spaces", [9, 65], "        A"],
    ["a tab after 3 characters is 5 spaces", [...codes("abc"), 9, 65], "abc     A"],
    ["backspace on an empty line does nothing", [8, 65], "A"],
    ["backspace removes the last character", [...codes("ab"), 8], "a"],
    ["backspace on a full line moves on first", [...codes(x(Columns)), 8], `${x(Columns)}\n`],
    ["code 0 on a full line moves on and adds nothing", [...codes(x(Columns)), 0], `${x(Columns)}\n`],
    ["carriage return is kept as a character", [65, 13, 66], "A\rB"],
  ];
  for (const [name, input, shown] of cases) expect(written(input).text(), name).toBe(shown);
  expect(Rows).toBe(4);
});

test("taking back restores the text exactly, also a scrolled-off line and past a checkpoint", () => {
  const input = codes("one\ntwo\nthree\nfour\nfive");
  const terminal = written(input);
  for (let n = input.length - 1; n >= 0; --n) {
    expect(terminal.takeBack()).toBe(true);
    expect(terminal.text(), `after taking back to ${n}`).toBe(written(input.slice(0, n)).text());
  }
  expect(terminal.takeBack()).toBe(false);

  const long = Array.from({ length: 4100 }, (_, i) => 65 + (i % 26));
  const many = written(long);
  many.takeBack();
  many.takeBack();
  expect(many.text()).toBe(written(long.slice(0, 4098)).text());
});
