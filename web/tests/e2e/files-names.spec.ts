import { expect, test } from "@playwright/test";
import { baseName, kindOf } from "../../src/files";

test("a file's kind and the base name its test file is found by", () => {
  const cases: [string, string | null, string][] = [
    ["sum.asm", "source", "sum"],
    ["SUM.ASM", "source", "SUM"],
    ["sum.tests.toml", "tests", "sum"],
    ["other.toml", "tests", "other"],
    ["hello.prg", "image", "hello"],
    ["my.prog.prg", "image", "my.prog"],
    ["notes.txt", null, "notes"],
    ["asm", null, "asm"],
  ];
  for (const [name, kind, base] of cases) {
    expect(kindOf(name), name).toBe(kind);
    expect(baseName(name), name).toBe(base);
  }
});
