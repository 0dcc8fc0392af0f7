#include "app/pdf_export.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <array>
#include <deque>
#include <future>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <string_view>

#include "cli/assessment.h"
#include "engine/evaluation.h"
#include "gui/report_page.h"

namespace corvane::app {

namespace {

constexpr std::array<std::string_view, 4> kFieldKeys = {"name", "sex", "age", "file"};

// A particular as given: JSON Lines are UTF-8, and so is the command line here.
QString text(const std::optional<std::string>& value) {
    return value ? QString::fromUtf8(value->data(), static_cast<qsizetype>(value->size()))
                 : QString();
}

std::string shown(const QString& path) {
    return cli::quoted(QDir::toNativeSeparators(path).toStdString());
}

// Where a batch line's page goes: "file" if the line gives one, else its number.
// A name that would lead out of the folder is refused.
QString fileNameOf(const cli::BatchRecord& record, std::size_t line) {
    const std::optional<std::string> given = record.field("file");
    if (!given) return QString::asprintf("%06zu.pdf", line);
    const std::string& name = *given;
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
    bool control = false;
    for (const char c : name) control = control || static_cast<unsigned char>(c) < 0x20;
    if (!plain || control) {
        throw cli::InputError(
            R"("file" must be a file name inside the folder, without '/' or '\': )" +
            cli::quoted(name));
    }
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

constexpr const char* kNameCut = "the name is too long for the page and is printed cut short";

// Makes the page and writes it; returns what went wrong, or nothing.
std::string writePage(const ReportContent& content, const QString& path, bool replace) {
    const QByteArray pdf = reportPdf(content);
    if (pdf.isEmpty()) return "cannot make the page of " + shown(path);
    return writeFile(path, pdf, replace);
}

// The page of an assessment, dated today, with the particulars given.
ReportContent contentOf(const cli::Assessment& assessment, const QDate& today,
                        const std::optional<std::string>& name,
                        const std::optional<std::string>& sex,
                        const std::optional<std::string>& age) {
    ReportContent content =
        reportContent(evaluate(assessment.scores, assessment.personality), today);
    content.name = text(name);
    content.sex = text(sex);
    content.age = text(age);
    return content;
}

}  // namespace

std::string writeFile(const QString& path, const QByteArray& bytes, bool replace) {
    QFile file(path);
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | (replace ? QIODevice::Truncate : QIODevice::NewOnly);
    if (!file.open(mode)) {
        if (!replace && QFileInfo::exists(path)) {
            return shown(path) + " exists already; give --overwrite to replace it";
        }
        return "cannot write " + shown(path) + ": " + file.errorString().toStdString();
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    if (written) {
        file.close();
        if (file.error() == QFileDevice::NoError) return {};
    }
    std::string problem = "cannot write " + shown(path) + ": " + file.errorString().toStdString();
    // A file begun here and not finished is no report; one named by the user stays.
    if (!replace) file.remove();
    return problem;
}

int exportPdf(const Command& command, std::ostream& err) {
    ReportContent content;
    try {
        content = contentOf(command.answers.assessment(), QDate::currentDate(), command.name,
                            command.sex, command.age);
    } catch (const cli::InputError& error) {
        err << "corvane: " << error.what() << '\n';
        return 1;
    }
    if (nameIsCut(content)) err << "corvane: " << kNameCut << '\n';
    const QString path = QString::fromStdString(command.pdfFile);
    if (const std::string problem = writePage(content, path, command.overwrite); !problem.empty()) {
        err << "corvane: " << problem << '\n';
        return 1;
    }
    return 0;
}

int exportPdfBatch(const Command& command, std::istream& in, std::ostream& err) {
    const QString folderName = QString::fromStdString(command.pdfFolder);
    // Nothing can be written without the folder: one message instead of one a line.
    if (!QDir().mkpath(folderName) || !QFileInfo(folderName).isDir()) {
        err << "corvane: cannot make the folder " << shown(folderName) << '\n';
        return 1;
    }
    if (!QFileInfo(folderName).isWritable()) {
        err << "corvane: cannot write into the folder " << shown(folderName) << '\n';
        return 1;
    }
    const QDir folder(folderName);
    const QDate today = QDate::currentDate();

    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    const std::size_t ahead = 4 * static_cast<std::size_t>(pool.maxThreadCount());

    // Each line's outcome, told in input order as soon as it is known.
    std::deque<std::pair<std::size_t, std::future<std::string>>> pending;
    int status = 0;
    const auto tellUntil = [&](std::size_t left) {
        while (pending.size() > left) {
            const std::string problem = pending.front().second.get();
            if (!problem.empty()) {
                err << "corvane: line " << pending.front().first << ": " << problem << '\n';
                status = 1;
            }
            pending.pop_front();
        }
    };

    std::map<QString, std::size_t> claimed;  // file names this input writes, by line
    std::string line;
    for (std::size_t number = 1; std::getline(in, line); ++number) {
        auto outcome = std::make_shared<std::promise<std::string>>();
        pending.emplace_back(number, outcome->get_future());
        try {
            const cli::BatchRecord record = cli::parseBatchRecord(line, kFieldKeys);
            const QString fileName = fileNameOf(record, number);
            if (const auto [first, added] = claimed.emplace(fileName, number); !added) {
                throw cli::InputError("file " + cli::quoted(fileName.toStdString()) +
                                      " is written by line " + std::to_string(first->second) +
                                      " already");
            }
            ReportContent content = contentOf(record.assessment, today, record.field("name"),
                                              record.field("sex"), record.field("age"));
            if (nameIsCut(content)) err << "corvane: line " << number << ": " << kNameCut << '\n';
            pool.start([outcome, content = std::move(content), path = folder.filePath(fileName),
                        replace = command.overwrite] {
                try {
                    outcome->set_value(writePage(content, path, replace));
                } catch (const std::exception& error) {
                    outcome->set_value(error.what());
                }
            });
        } catch (const cli::InputError& error) {
            outcome->set_value(error.what());
        }
        tellUntil(ahead);
    }
    tellUntil(0);
    return status;
}

}  // namespace corvane::app
