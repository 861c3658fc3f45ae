// Runs Readability.js (with jsdom) on pages and prints, per page, the article markup it
// extracts and the time the extraction took. Called by real_pages_f1.py, which installs
// the two packages into the build folder and points NODE_PATH at them.
//
// Input on stdin: a JSON list of {"name", "path"}; "path" is an HTML file.
// Output on stdout: a JSON object {name: {"html": markup or "", "ms": milliseconds}}.
"use strict";

const fs = require("fs");
const { JSDOM, VirtualConsole } = require("jsdom");
const { Readability } = require("@mozilla/readability");

const pages = JSON.parse(fs.readFileSync(0, "utf8"));
const results = {};
for (const page of pages) {
  // The file starts with a byte-order mark, which is no part of the page.
  const markup = fs.readFileSync(page.path, "utf8").replace(/^\uFEFF/, "");
  const start = process.hrtime.bigint();
  let html = "";
  try {
    // A silent console: the pages' own markup errors are not the bench's output.
    const dom = new JSDOM(markup, {
      url: "http://fakehost/test/page.html",
      virtualConsole: new VirtualConsole(),
    });
    const article = new Readability(dom.window.document).parse();
    html = article && article.content ? article.content : "";
  } catch (error) {
    process.stderr.write(`${page.name}: ${error.message}\n`);
  }
  const ms = Number(process.hrtime.bigint() - start) / 1e6;
  results[page.name] = { html, ms };
}
process.stdout.write(JSON.stringify(results));
