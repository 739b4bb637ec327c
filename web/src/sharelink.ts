// A program shared in the address's fragment, compressed, so that nothing goes to a server:
// the editor's source (or, without one, the memory image), the breakpoints and the test
// file. A fragment is read as untrusted input: anything but what a page wrote gets a
// ShareError, never a half-loaded program.

export interface SharedFile { name: string; text: string }

export interface Shared {
  source?: SharedFile;
  image?: Uint8Array<ArrayBuffer>;  // the memory as a .prg file, when there is no source
  breakpoints: number[];
  tests?: SharedFile;
}

// Links longer than this are cut by some browsers, chat programs and course pages.
export const MaxLinkLength = 8000;
const Format = 1;
// What a fragment may unpack to at most: a link that says more is not one of ours.
const MaxUnpacked = 1 << 20;

export class ShareError extends Error {}

function toBase64Url(bytes: Uint8Array): string {
  let binary = "";
  for (const b of bytes) binary += String.fromCharCode(b);
  return btoa(binary).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
}

function fromBase64Url(text: string): Uint8Array<ArrayBuffer> {
  if (!/^[A-Za-z0-9_-]*$/.test(text)) throw new ShareError("it holds characters a shared program never has");
  let binary: string;
  try {
    binary = atob(text.replace(/-/g, "+").replace(/_/g, "/"));
  } catch {
    throw new ShareError("it is cut short");
  }
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

async function pipe(bytes: Uint8Array<ArrayBuffer>, stream: CompressionStream | DecompressionStream,
                    limit = Infinity): Promise<Uint8Array> {
  const reader = new Blob([bytes]).stream().pipeThrough(stream).getReader();
  const parts: Uint8Array[] = [];
  let length = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    length += value.length;
    if (length > limit) {
      await reader.cancel();
      throw new ShareError("it unpacks to more than a program can be");
    }
    parts.push(value);
  }
  const whole = new Uint8Array(length);
  let at = 0;
  for (const part of parts) whole.set(part, (at += part.length) - part.length);
  return whole;
}

export async function encodeShared(shared: Shared): Promise<string> {
  const plain = {
    format: Format,
    source: shared.source,
    image: shared.image && toBase64Url(shared.image),
    breakpoints: shared.breakpoints,
    tests: shared.tests,
  };
  const json = new TextEncoder().encode(JSON.stringify(plain));
  return toBase64Url(await pipe(json, new CompressionStream("deflate-raw")));
}

function file(value: unknown, what: string): SharedFile | undefined {
  if (value === undefined) return undefined;
  const f = value as SharedFile;
  if (typeof f !== "object" || f === null || typeof f.name !== "string" || typeof f.text !== "string" ||
      f.name.length > 255 || /[/\\\0]/.test(f.name))
    throw new ShareError(`its ${what} is not a file`);
  return { name: f.name, text: f.text };
}

export async function decodeShared(data: string): Promise<Shared> {
  let json: string;
  try {
    json = new TextDecoder("utf-8", { fatal: true }).decode(
      await pipe(fromBase64Url(data), new DecompressionStream("deflate-raw"), MaxUnpacked));
  } catch (error) {
    if (error instanceof ShareError) throw error;
    throw new ShareError("it does not unpack");
  }
  let plain: Record<string, unknown>;
  try {
    plain = JSON.parse(json);
  } catch {
    throw new ShareError("it does not unpack");
  }
  if (typeof plain !== "object" || plain === null || plain.format !== Format)
    throw new ShareError("it comes from another version of Quarzel Simulator");
  const breakpoints = plain.breakpoints;
  if (!Array.isArray(breakpoints) || breakpoints.length > 256 ||
      !breakpoints.every((a) => Number.isInteger(a) && a >= 0 && a <= 255))
    throw new ShareError("its breakpoints are not addresses");
  let image: Uint8Array<ArrayBuffer> | undefined;
  if (plain.image !== undefined) {
    if (typeof plain.image !== "string") throw new ShareError("its memory image is not a file");
    image = fromBase64Url(plain.image);  // the module reads it as it reads a file
  }
  const source = file(plain.source, "source");
  if (!source === !image) throw new ShareError("it holds no program");
  return { source, image, breakpoints: [...new Set(breakpoints as number[])], tests: file(plain.tests, "test file") };
}

// The fragment's parts: "share" (the program), "embed", "ro", "panels".
export function fragmentParams(hash: string): URLSearchParams {
  return new URLSearchParams(hash.replace(/^#/, ""));
}

// The page's address with a fragment of the given parts.
export function linkWith(params: URLSearchParams): string {
  const fragment = params.toString().replace(/=(?=&|$)/g, "");
  return `${location.origin}${location.pathname}${fragment ? `#${fragment}` : ""}`;
}
