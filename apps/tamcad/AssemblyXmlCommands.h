// tamcad's commands around assembly XML: writing the translator's EBOM of an assembly into a
// folder (`convert -o FOLDER`), and the XML-only road (`xml-only`).
#pragma once

#include "HostSettings.h"

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace tam {

// `tamcad xml-only ASSEMBLY.xml SOURCE`: the options of the XML-only road.
struct XmlOnlyRequest {
    std::string xml;               // the assembly XML (EBOM vocabulary); left as it is
    std::string source;            // the CAD file it describes; names the product XML
    std::string saveFolder = ".";  // where the product XML goes unless sameFolder (-o)
    bool sameFolder = false;       // product XML beside SOURCE, references relative to it
    bool refLinkNames = false;     // name instances by their RefLink id
    bool metas = false;            // document metadata
    bool removeRevision = false;   // ProE revision numbers stripped from file names
    bool identFromNames = false;   // identifiers formed from names instead of random ones
    bool quiet = false;            // no progress display
};

// Adds the `xml-only` command bound to request; returns it.
CLI::App* addXmlOnlyCommand(CLI::App& app, XmlOnlyRequest& request);

// Runs the XML-only road on a copy of the XML (the library consumes its input) and prints
// where the product XML went and how many groups and references it holds. Exit code: done;
// nothing written, or no assembly found in the XML (one message on stderr saying why).
int runXmlOnly(const XmlOnlyRequest& request);

// `tamcad convert ASSEMBLY -o FOLDER`: has the translator write the assembly's EBOM
// ("assembly.xml") and its part files into FOLDER (made when missing), as the assembly import
// has them written into its work folder. Exit code: done; nothing written; or usage for a
// source that is no STEP, IGES or B-rep file. `quiet`: no progress display.
int writeEbom(const std::string& source, const std::string& folder, const ImportSettings& settings,
              bool quiet);

}  // namespace tam
