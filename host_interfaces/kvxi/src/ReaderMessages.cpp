#include "ReaderMessages.h"

#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <TCollection_AsciiString.hxx>

#include <iostream>

namespace tam {
namespace {

constexpr size_t kKeptFailures = 32;

KVXISystem::MessageHandler g_handler = nullptr;
std::vector<std::string> g_failures;
Message_SequenceOfPrinters g_replaced;

// OCCT colours its console text with escape sequences and pads it with asterisks and blanks.
std::string plainText(const TCollection_AsciiString& text) {
    std::string plain;
    const char* p = text.ToCString();
    while (*p != '\0') {
        if (*p == '\x1b') {
            while (*p != '\0' && *p != 'm')
                ++p;
            if (*p == 'm')
                ++p;
            continue;
        }
        plain.push_back(*p++);
    }
    const size_t first = plain.find_first_not_of("* \t\r\n");
    const size_t last = plain.find_last_not_of("* \t\r\n");
    return first == std::string::npos ? std::string() : plain.substr(first, last - first + 1);
}

class CapturingPrinter : public Message_Printer {
protected:
    void send(const TCollection_AsciiString& text, const Message_Gravity gravity) const override {
        const std::string plain = plainText(text);
        if (plain.empty())
            return;
        if (gravity >= Message_Fail && g_failures.size() < kKeptFailures)
            g_failures.push_back(plain);
        if (g_handler != nullptr)
            g_handler(plain.c_str(), gravity >= Message_Fail);
    }
};

}  // namespace

void CaptureReaderMessages() {
    const Handle(Message_Messenger)& messenger = Message::DefaultMessenger();
    g_replaced = messenger->Printers();
    messenger->ChangePrinters().Clear();
    Handle(Message_Printer) printer = new CapturingPrinter();
    printer->SetTraceLevel(Message_Info);
    messenger->AddPrinter(printer);
}

void ReleaseReaderMessages() {
    const Handle(Message_Messenger)& messenger = Message::DefaultMessenger();
    messenger->ChangePrinters() = g_replaced;
    g_replaced.Clear();
}

ConsoleCapture::ConsoleCapture() : m_previous(std::cout.rdbuf(&m_text)) {}

ConsoleCapture::~ConsoleCapture() {
    std::cout.flush();
    std::cout.rdbuf(m_previous);
    if (g_handler == nullptr)
        return;
    std::istringstream lines(m_text.str());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty())
            g_handler(line.c_str(), false);
    }
}

void SetReaderMessageHandler(KVXISystem::MessageHandler handler) {
    g_handler = handler;
}

void ClearReaderFailures() {
    g_failures.clear();
}

const std::vector<std::string>& ReaderFailures() {
    return g_failures;
}

}  // namespace tam
