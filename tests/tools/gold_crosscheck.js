// Independent check of a compiled grammar table: loads it with @warfley/node-gold-engine and
// parses sample texts, printing one line per sample: "accept" or "reject".
//   node gold_crosscheck.js <node_modules folder> <table.cgt> <samples.json>
// samples.json holds an array of texts. The engine's scanner lowers 'A'..'Z' before matching
// in a case-insensitive grammar while this reader does not, so the same lowering is applied
// here to the text given to the reader.
"use strict";
const path = require("path");
const fs = require("fs");

async function main() {
    const [modules, table, samplesFile] = process.argv.slice(2);
    const gold = require(path.resolve(modules, "@warfley", "node-gold-engine"));
    const reader = await gold.GTFileReader.from_file(table);
    const tables = gold.load_grammar_tables(gold.load_cgt(reader));
    const caseSensitive = tables.params.get("Case Sensitive") === "True";
    const samples = JSON.parse(fs.readFileSync(samplesFile, "utf8"));
    for (const sample of samples) {
        const text = caseSensitive ? sample : sample.replace(/[A-Z]/g, (c) => c.toLowerCase());
        let accepted = false;
        try {
            const result = await gold.parse_string(text, tables.dfa, tables.lalr);
            accepted = gold.parse_successful(result);
        } catch (e) {
            accepted = false;
        }
        console.log(accepted ? "accept" : "reject");
    }
}

main().catch((e) => {
    console.error("cannot read the table: " + e.message);
    process.exit(1);
});
