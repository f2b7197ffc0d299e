#include "ProductXmlInfo.h"

#include "Commands.h"
#include "InfoPrinter.h"
#include "SceneWalk.h"

#include <platform/CodePage.h>
#include <tamfoundations/CTamProductXmlReader.h>
#include <tamsg/sglGroup.h>

#include <iostream>

namespace tam {

int printProductXmlTree(const std::string& file) {
    std::wstring path;
    if (!Utf8ToWide(file, path))
        path.assign(file.begin(), file.end());
    CTamProductXmlReader reader;
    sglGroup* root = reader.Read(path);
    if (root == nullptr) {
        std::cerr << "tamcad: " << WideToUtf8Replacing(reader.GetLastError()) << "\n";
        return kExitNothingLoaded;
    }
    root->ref();
    printSceneTree(std::cout, root);
    for (const std::wstring& warning : reader.GetWarnings())
        std::cerr << "tamcad: " << WideToUtf8Replacing(warning) << "\n";
    if (reader.GetFollowedReferences() > 0)
        std::cout << reader.GetFollowedReferences()
                  << " instances read from the product XML files they refer to\n";
    if (reader.GetUnfollowedReferences() > 0)
        std::cout << reader.GetUnfollowedReferences()
                  << " instances left empty (referenced file missing, damaged or in a cycle)\n";
    root->unref();
    return kExitDone;
}

}  // namespace tam
