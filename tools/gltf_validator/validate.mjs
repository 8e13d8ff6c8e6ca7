// Usage: node validate.mjs FILE...  Prints one line per file:
// "<file>: <errors> errors, <warnings> warnings" and the first messages;
// exits 1 when any file has an error.
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import validator from 'gltf-validator';

let failed = false;
for (const file of process.argv.slice(2)) {
  const data = new Uint8Array(await readFile(file));
  const report = await validator.validateBytes(data, {
    uri: path.basename(file),
    maxIssues: 50,
    externalResourceFunction: (uri) =>
      readFile(path.join(path.dirname(file), decodeURIComponent(uri))).then((b) => new Uint8Array(b)),
  });
  const { numErrors, numWarnings, messages } = report.issues;
  console.log(`${file}: ${numErrors} errors, ${numWarnings} warnings`);
  for (const m of messages.filter((m) => m.severity === 0).slice(0, 10)) {
    console.log(`  ${m.code} ${m.pointer || ''}: ${m.message}`);
  }
  if (numErrors > 0) failed = true;
}
process.exit(failed ? 1 : 0);
