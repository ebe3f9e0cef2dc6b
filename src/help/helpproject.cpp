#include "help/helpproject.h"

#include <QXmlStreamReader>

namespace huddlex::help {

namespace {

// Reads the sections inside the current element up to its end.
QList<HelpSection> readSections(QXmlStreamReader& xml) {
    QList<HelpSection> sections;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("section")) {
            xml.skipCurrentElement();
            continue;
        }
        HelpSection section;
        section.title = xml.attributes().value(QLatin1String("title")).toString();
        section.ref = xml.attributes().value(QLatin1String("ref")).toString();
        section.children = readSections(xml);
        sections << section;
    }
    return sections;
}

QList<HelpKeyword> readKeywords(QXmlStreamReader& xml) {
    QList<HelpKeyword> keywords;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("keyword")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            keywords << HelpKeyword{attributes.value(QLatin1String("name")).toString(),
                                    attributes.value(QLatin1String("id")).toString(),
                                    attributes.value(QLatin1String("ref")).toString()};
        }
        xml.skipCurrentElement();
    }
    return keywords;
}

} // namespace

std::optional<HelpProject> HelpProject::parse(const QByteArray& text, QString* error) {
    QXmlStreamReader xml(text);
    HelpProject project;
    bool isProject = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("QtHelpProject"))
            isProject = true;
        else if (name == QLatin1String("toc") && isProject)
            project.contents_ += readSections(xml);
        else if (name == QLatin1String("keywords") && isProject)
            project.keywords_ += readKeywords(xml);
    }
    QString problem;
    if (xml.hasError())
        problem = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    else if (!isProject)
        problem = QStringLiteral("it is no help project");
    else if (project.contents_.isEmpty() || project.contents_.first().ref.isEmpty())
        problem = QStringLiteral("it has no table of contents");
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return std::nullopt;
    }
    return project;
}

QString HelpProject::pageForContext(int contextId) const {
    const QString id = QString::number(contextId);
    for (const HelpKeyword& keyword : keywords_) {
        if (keyword.id == id)
            return keyword.ref;
    }
    return {};
}

QString HelpProject::homePage() const {
    return contents_.isEmpty() ? QString() : contents_.first().ref;
}

} // namespace huddlex::help
