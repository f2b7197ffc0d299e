#!/usr/bin/env node
// Validates glTF 2.0 files (.glb or .gltf with embedded buffers) with the Khronos glTF
// validator (npm package gltf-validator, installed by scripts/setup.sh into .tools/npm).
//   node scripts/validate_gltf.js FILE...
// Prints each file's error, warning and info counts and its errors; exits 1 when a file has
// an error or cannot be read, 2 when the validator is not installed.
'use strict';
const fs = require('fs');
const path = require('path');

function loadValidator() {
    const local = path.join(__dirname, '..', '.tools', 'npm', 'node_modules', 'gltf-validator');
    for (const candidate of [local, 'gltf-validator']) {
        try {
            return require(candidate);
        } catch (e) {
            // try the next place
        }
    }
    return null;
}

async function main(files) {
    const validator = loadValidator();
    if (validator === null) {
        console.error('validate_gltf: gltf-validator is not installed (scripts/setup.sh)');
        return 2;
    }
    let failed = false;
    for (const file of files) {
        try {
            const report = await validator.validateBytes(new Uint8Array(fs.readFileSync(file)));
            const issues = report.issues;
            console.log(`${file}: ${issues.numErrors} errors, ${issues.numWarnings} warnings, ` +
                        `${issues.numInfos} infos`);
            for (const message of issues.messages.filter((m) => m.severity === 0))
                console.log(`  ${message.code} ${message.pointer || ''}: ${message.message}`);
            failed = failed || issues.numErrors > 0;
        } catch (error) {
            console.log(`${file}: cannot validate: ${error.message || error}`);
            failed = true;
        }
    }
    return failed ? 1 : 0;
}

main(process.argv.slice(2)).then((code) => process.exit(code));
