// Writes and reads the application settings block of a product XML document.
#pragma once

#include <memory>

class CTamKBatchProperties;
class CTamXmlParserNode;

// Static operations on the "ManagerProperties" element: attribute "Product" (the host product
// number, decimal) and one saved property per child.
class CTamIOManager {
public:
    // Appends <ManagerProperties Product="..."> with every property to `node`. False when `node`
    // is null or empty or a property could not be written.
    static bool AddManagerProperties(const std::shared_ptr<CTamXmlParserNode>& node,
                                     unsigned int product, const CTamKBatchProperties& properties);

    // Reads the first "ManagerProperties" child of `node` back: its product number and its
    // properties (added to `properties`). False when there is no such child or its product
    // number does not read.
    static bool GetManagerProperties(const std::shared_ptr<CTamXmlParserNode>& node,
                                     unsigned int& product, CTamKBatchProperties& properties);
};
