import { byId } from "./dom";

export type Answer = "yes" | "no" | "cancel";

// The desktop's Yes/No/Cancel question, caption "Save?", before data would be lost.
// Escape answers Cancel.
export function askSave(text: string): Promise<Answer> {
  const dialog = byId<HTMLDialogElement>("SaveQuestion");
  byId("SaveQuestionText").textContent = text;
  dialog.returnValue = "cancel";
  return new Promise((resolve) => {
    dialog.addEventListener("close", () => resolve(dialog.returnValue as Answer), { once: true });
    dialog.showModal();
    byId("YesButton").focus();
  });
}

// Asks when modified; on Yes saves first. True when the command may go on.
export async function maySaveFirst(modified: boolean, text: string, save: () => Promise<boolean>):
    Promise<boolean> {
  if (!modified) return true;
  const answer = await askSave(text);
  if (answer === "no") return true;
  return answer === "yes" && save();
}
