<?xml version="1.0" encoding="UTF-8"?>
<!-- The look of every repository page, carried inline so a page shows the same in any
     process and when it is saved to a file. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:template name="style">
<style type="text/css"><xsl:text disable-output-escaping="yes"><![CDATA[
:root { --ink: #1f2328; --muted: #656d76; --line: #e4e7eb; --accent: #0b6bcb; --paper: #ffffff; --wash: #f6f8fa; }
* { box-sizing: border-box; }
body { margin: 0; background: var(--wash); color: var(--ink);
  font: 15px/1.5 "DejaVu Sans", "Segoe UI", system-ui, sans-serif; }
a { color: var(--accent); text-decoration: none; }
a:hover { text-decoration: underline; }
.bar { padding: .7em 1.5em;
  background: var(--paper); border-bottom: 1px solid var(--line); }
.bar > * + * { margin-left: 1.25em; }
.bar .brand { font-weight: bold; color: var(--ink); letter-spacing: .02em; }
.bar a.here { color: var(--ink); font-weight: bold; }
.main { max-width: 52em; margin: 0 auto; padding: 1.5em; }
h1 { font-size: 1.6em; line-height: 1.25; margin: .2em 0 .1em; }
.kind { color: var(--muted); font-size: .8em; text-transform: uppercase; letter-spacing: .08em; }
.count { color: var(--muted); margin: 0 0 1.2em; }
ul.entries { list-style: none; margin: 0; padding: 0; background: var(--paper);
  border: 1px solid var(--line); border-radius: 8px; }
ul.entries li { padding: .8em 1.1em; border-top: 1px solid var(--line); }
ul.entries li:first-child { border-top: none; }
ul.entries li:hover { background: #f3f8fe; }
ul.entries .title { font-weight: 600; font-size: 1.05em; color: var(--ink); }
.meta { color: var(--muted); font-size: .85em; margin-top: .15em; }
.meta > * + *::before { content: "\00B7"; margin: 0 .5em; color: #b0b7bf; }
.meta a { color: var(--muted); }
.empty { background: var(--paper); border: 1px dashed #c9d1d9; border-radius: 8px;
  padding: 1.4em 1.6em; color: var(--muted); }
.empty strong { display: block; color: var(--ink); margin-bottom: .3em; font-size: 1.05em; }
div.clip { background: var(--paper); border: 1px solid var(--line); border-radius: 8px;
  padding: 1.5em 2em; margin-top: 1.2em; font: 17px/1.65 "DejaVu Serif", Georgia, serif; }
div.clip img { max-width: 100%; height: auto; }
div.clip pre { white-space: pre-wrap; overflow-x: auto; }
.tags span { background: #eef1f4; border-radius: 4px; padding: 0 .4em; margin-right: .3em; }
body.pane { font-size: 13px; background: var(--paper); }
body.pane .main { padding: .6em .8em; }
body.pane h2 { font-size: .78em; text-transform: uppercase; letter-spacing: .08em;
  color: var(--muted); margin: 1.1em 0 .3em; }
body.pane ul.entries { border: none; border-radius: 0; }
body.pane ul.entries li { padding: .4em .2em; }
body.pane ul.entries .title { font-size: 1em; font-weight: 500; }
ul.groups { list-style: none; margin: 0; padding: 0; }
ul.groups li { padding: .2em .2em; border-radius: 4px; overflow: hidden; }
ul.groups li:hover { background: #f3f8fe; }
ul.groups .n { float: right; color: var(--muted); font-size: .9em; }
]]></xsl:text></style>
</xsl:template>
</xsl:stylesheet>
