<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AtomicFileWriter</name>
    <message>
        <source>cannot be written</source>
        <translation>не удаётся записать</translation>
    </message>
    <message>
        <source>a symbolic link stands in its place; it is not followed</source>
        <translation>на его месте стоит символическая ссылка; по ссылкам запись не ведётся</translation>
    </message>
    <message>
        <source>too many symbolic links</source>
        <translation>слишком длинная цепочка символических ссылок</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>cannot create a file beside it</source>
        <translation>не удаётся создать рядом новый файл</translation>
    </message>
    <message>
        <source>not written</source>
        <translation>не записан</translation>
    </message>
    <message>
        <source>cannot be put in place</source>
        <translation>не удаётся поставить на место</translation>
    </message>
    <message>
        <source>%1 %2: %3</source>
        <translation>%1 — %2: %3</translation>
    </message>
</context>
<context>
    <name>BankCatalog</name>
    <message>
        <source>Неверный БИК или название банка неизвестно</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BankCatalogSourceRBC</name>
    <message>
        <source>Banks</source>
        <translation>Банки</translation>
    </message>
    <message>
        <source>cannot keep the downloaded archive: %1</source>
        <translation>не удаётся сохранить загруженный архив: %1</translation>
    </message>
    <message>
        <source>the bank directory is not a readable zip archive</source>
        <translation>справочник банков — не zip-архив или не читается</translation>
    </message>
    <message>
        <source>the bank directory archive is damaged (error %1)</source>
        <translation>архив справочника банков повреждён (ошибка %1)</translation>
    </message>
    <message>
        <source>the archive holds no list of working banks (%1)</source>
        <translation>в архиве нет списка действующих банков (%1)</translation>
    </message>
    <message>
        <source>cannot read &quot;%1&quot; of the bank directory</source>
        <translation>не удаётся прочитать «%1» из справочника банков</translation>
    </message>
    <message>
        <source>&quot;%1&quot; of the bank directory is larger than %2 MiB</source>
        <translation>«%1» в справочнике банков больше %2 МиБ</translation>
    </message>
    <message>
        <source>&quot;%1&quot; of the bank directory is damaged</source>
        <translation>«%1» в справочнике банков повреждён</translation>
    </message>
    <message>
        <source>&quot;%1&quot; of the bank directory is not Windows-1251 text</source>
        <translation>«%1» в справочнике банков — не текст в кодировке Windows-1251</translation>
    </message>
</context>
<context>
    <name>CatalogHttpSource</name>
    <message>
        <source>Catalog &quot;%1&quot; loading is failed</source>
        <translation>Справочник «%1» загрузить не удалось</translation>
    </message>
    <message>
        <source>Catalog &quot;%1&quot; is rejected: %2</source>
        <translation>Справочник «%1» отклонён: %2</translation>
    </message>
</context>
<context>
    <name>CatalogXmlHandler</name>
    <message>
        <source>the catalog database cannot begin a transaction: %1</source>
        <translation>база справочников не может начать транзакцию: %1</translation>
    </message>
    <message>
        <source>the catalog database cannot commit: %1</source>
        <translation>база справочников не может сохранить изменения: %1</translation>
    </message>
    <message>
        <source>the catalog database failed: %1</source>
        <translation>ошибка базы справочников: %1</translation>
    </message>
    <message>
        <source>the document is not a &quot;%1&quot; feed: its root is &quot;%2&quot;</source>
        <translation>документ — не выгрузка «%1»: его корневой элемент «%2»</translation>
    </message>
    <message>
        <source>element &quot;%1&quot; inside entry &quot;%2&quot;</source>
        <translation>элемент «%1» внутри записи «%2»</translation>
    </message>
    <message>
        <source>the feed declares a document type; feeds carry no entities</source>
        <translation>выгрузка объявляет тип документа (DTD), а в выгрузках его быть не должно</translation>
    </message>
    <message>
        <source>XML error at line %1, column %2: %3</source>
        <translation>ошибка XML в строке %1, столбце %2: %3</translation>
    </message>
    <message>
        <source>no match result for &quot;%1&quot;</source>
        <translation>нет результата сопоставления для «%1»</translation>
    </message>
</context>
<context>
    <name>Config</name>
    <message>
        <source>Evaluations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zentavo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DocxPackage</name>
    <message>
        <source>%1 is not well-formed XML: %2</source>
        <translation>%1 — некорректный XML: %2</translation>
    </message>
    <message>
        <source>the archive&apos;s directory cannot be read</source>
        <translation>не удаётся прочитать оглавление архива</translation>
    </message>
    <message>
        <source>the archive has no %1: it is not a DOCX package</source>
        <translation>в архиве нет %1: это не документ DOCX</translation>
    </message>
    <message>
        <source>%1 names %2 as the main document, which the archive does not hold</source>
        <translation>%1 называет основным документом %2, которого в архиве нет</translation>
    </message>
    <message>
        <source>%1 names no main document</source>
        <translation>%1 не называет основной документ</translation>
    </message>
    <message>
        <source>the archive has no %1 naming its main document</source>
        <translation>в архиве нет %1 с указанием основного документа</translation>
    </message>
    <message>
        <source>%1 was missing; written, naming %2 as the main document</source>
        <translation>%1 отсутствовал; записан заново, основной документ — %2</translation>
    </message>
    <message>
        <source>%1 names %2, which the archive does not hold</source>
        <translation>%1 ссылается на %2, которого в архиве нет</translation>
    </message>
    <message>
        <source>the text parts hold more than %1 MiB</source>
        <translation>текстовые части занимают больше %1 МиБ</translation>
    </message>
    <message>
        <source>%1 has no content type in %2</source>
        <translation>для %1 не указан тип содержимого в %2</translation>
    </message>
    <message>
        <source>%1 had no content type for .%2 files; added</source>
        <translation>в %1 не было типа содержимого для файлов .%2; добавлен</translation>
    </message>
    <message>
        <source>%1 was shared by pictures described %2 and %3; %3 gets its own copy, %4</source>
        <translation>%1 использовался рисунками %2 и %3; %3 получает собственную копию, %4</translation>
    </message>
    <message>
        <source>%1 cannot be read from the archive</source>
        <translation>не удаётся прочитать %1 из архива</translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>%1 MiB</source>
        <translation>%1 МиБ</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 байт</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an http or https address</source>
        <translation>«%1» — не адрес http или https</translation>
    </message>
    <message>
        <source>%1 is refused: this server is only reached over https</source>
        <translation>%1 отклонён: к этому серверу можно обращаться только по https</translation>
    </message>
    <message>
        <source>the download is larger than %1</source>
        <translation>загружаемый файл больше %1</translation>
    </message>
    <message>
        <source>%1 sent nothing for %2 s</source>
        <translation>%1 ничего не присылал %2 с</translation>
    </message>
    <message>
        <source>the download from %1 did not end within %2 s</source>
        <translation>загрузка с %1 не завершилась за %2 с</translation>
    </message>
    <message>
        <source>the server answered %1 %2 for %3</source>
        <translation>сервер ответил %1 %2 на запрос %3</translation>
    </message>
    <message>
        <source>%1 redirects to a less secure address; not followed</source>
        <translation>%1 перенаправляет на менее защищённый адрес; перенаправление не выполнено</translation>
    </message>
    <message>
        <source>%1 redirects more than %2 times</source>
        <translation>%1 перенаправляет больше %2 раз</translation>
    </message>
    <message>
        <source>the server %1 is not verified: %2</source>
        <translation>подлинность сервера %1 не подтверждена: %2</translation>
    </message>
    <message>
        <source>cannot connect to %1: %2</source>
        <translation>не удаётся подключиться к %1: %2</translation>
    </message>
    <message>
        <source>the download from %1 failed: %2</source>
        <translation>загрузка с %1 не удалась: %2</translation>
    </message>
</context>
<context>
    <name>EvaluationFile</name>
    <message>
        <source>%1 cannot be written: the container could not be completed</source>
        <translation>не удаётся записать %1: файл оценки не удалось дописать</translation>
    </message>
    <message>
        <source>%1 cannot be written: the container cannot be started (zip error %2)</source>
        <translation>не удаётся записать %1: файл оценки не удалось начать (ошибка zip %2)</translation>
    </message>
</context>
<context>
    <name>EvaluationFileLock</name>
    <message>
        <source>%1 is being saved by another program; try again when it has finished</source>
        <translation>%1 сейчас сохраняет другая программа; повторите, когда она закончит</translation>
    </message>
    <message>
        <source>%1 cannot be saved: no permission to write in its folder</source>
        <translation>не удаётся сохранить %1: нет прав на запись в его папку</translation>
    </message>
    <message>
        <source>%1 cannot be locked for saving</source>
        <translation>не удаётся заблокировать %1 для сохранения</translation>
    </message>
</context>
<context>
    <name>MetaTagCatalog</name>
    <message>
        <source>Unable to read the meta tags: %1</source>
        <translation>Не удаётся прочитать метатеги: %1</translation>
    </message>
    <message>
        <source>the meta tags are larger than %1 MiB</source>
        <translation>файл метатегов больше %1 МиБ</translation>
    </message>
</context>
<context>
    <name>OdtPackage</name>
    <message>
        <source>the archive&apos;s directory cannot be read</source>
        <translation>не удаётся прочитать оглавление архива</translation>
    </message>
    <message>
        <source>%1 cannot be read</source>
        <translation>не удаётся прочитать %1</translation>
    </message>
    <message>
        <source>it has neither a mimetype entry nor a manifest: it is not an OpenDocument package</source>
        <translation>в нём нет ни записи mimetype, ни манифеста: это не документ OpenDocument</translation>
    </message>
    <message>
        <source>it is an OpenDocument file of another kind (%1), not a text document</source>
        <translation>это файл OpenDocument другого вида (%1), а не текстовый документ</translation>
    </message>
    <message>
        <source>the archive has no %1: it is not an OpenDocument text</source>
        <translation>в архиве нет %1: это не текстовый документ OpenDocument</translation>
    </message>
    <message>
        <source>%1 is not well-formed XML: %2</source>
        <translation>%1 — некорректный XML: %2</translation>
    </message>
    <message>
        <source>it is protected by a password; save it without one to use it as a template</source>
        <translation>он защищён паролем; чтобы использовать его как шаблон, сохраните его без пароля</translation>
    </message>
    <message>
        <source>it is not a zip archive</source>
        <translation>это не zip-архив</translation>
    </message>
    <message>
        <source>its entries cannot be read</source>
        <translation>не удаётся прочитать его содержимое</translation>
    </message>
</context>
<context>
    <name>PeopleCatalogSource</name>
    <message>
        <source>Peoples</source>
        <translation>Документы, удостоверяющие личность</translation>
    </message>
</context>
<context>
    <name>SQLStorage</name>
    <message>
        <source>the catalog database %1 is damaged (%2); restore it from a backup or remove it to start an empty catalog</source>
        <translation>база справочников %1 повреждена (%2); восстановите её из резервной копии или удалите, чтобы начать с пустых справочников</translation>
    </message>
    <message>
        <source>the catalog database %1 is damaged (%2); restore it from the backup %3 or remove it to start an empty catalog</source>
        <translation>база справочников %1 повреждена (%2); восстановите её из резервной копии %3 или удалите, чтобы начать с пустых справочников</translation>
    </message>
    <message>
        <source>the catalog database %1 is locked by another program; close it and try again</source>
        <translation>база справочников %1 занята другой программой; закройте её и повторите</translation>
    </message>
    <message>
        <source>the catalog database %1 cannot be written: the disk is full; free some space and try again</source>
        <translation>не удаётся записать базу справочников %1: диск заполнен; освободите место и повторите</translation>
    </message>
    <message>
        <source>the catalog database %1 cannot be opened for reading and writing (%2); check the permissions of the file and its folder</source>
        <translation>базу справочников %1 не удаётся открыть для чтения и записи (%2); проверьте права на файл и его папку</translation>
    </message>
    <message>
        <source>the catalog database %1 cannot be read or written (%2); check the disk, or restore the file from a backup</source>
        <translation>базу справочников %1 не удаётся прочитать или записать (%2); проверьте диск или восстановите файл из резервной копии</translation>
    </message>
    <message>
        <source>the catalog database %1 failed without saying why</source>
        <translation>ошибка базы справочников %1 без указания причины</translation>
    </message>
    <message>
        <source>the catalog database %1 failed: %2</source>
        <translation>ошибка базы справочников %1: %2</translation>
    </message>
    <message>
        <source>the catalog database %1 is not open</source>
        <translation>база справочников %1 не открыта</translation>
    </message>
    <message>
        <source>; the previous catalog is kept as %1</source>
        <translation>; прежние справочники сохранены как %1</translation>
    </message>
    <message>
        <source>it holds no catalog</source>
        <translation>в ней нет справочников</translation>
    </message>
    <message>
        <source>the catalog database %1 is of an old version and cannot be moved aside to %2 to make a new one; check the permissions of its folder</source>
        <translation>база справочников %1 старой версии, и её не удаётся переименовать в %2, чтобы создать новую; проверьте права на её папку</translation>
    </message>
</context>
<context>
    <name>TemplateChecker</name>
    <message>
        <source>the file is empty: it is not a template</source>
        <translation>файл пуст: это не шаблон</translation>
    </message>
    <message>
        <source>the template cannot be read: %1</source>
        <translation>не удаётся прочитать шаблон: %1</translation>
    </message>
    <message>
        <source>the template is larger than %1 MiB, so it is not read</source>
        <translation>шаблон больше %1 МиБ и поэтому не читается</translation>
    </message>
    <message>
        <source>not a usable DOCX template: %1</source>
        <translation>шаблон DOCX непригоден: %1</translation>
    </message>
    <message>
        <source>the part cannot be read</source>
        <translation>не удаётся прочитать эту часть</translation>
    </message>
    <message>
        <source>unclosed tag: &quot;%1&quot; has no %2</source>
        <translation>незакрытый тег: у «%1» нет %2</translation>
    </message>
    <message>
        <source>unknown meta tag &quot;%1&quot;</source>
        <translation>неизвестный метатег «%1»</translation>
    </message>
    <message>
        <source>tag without a name</source>
        <translation>тег без имени</translation>
    </message>
    <message>
        <source>tag &quot;%1&quot;: &quot;#%2&quot; is not a flag (one or two letters)</source>
        <translation>тег «%1»: «#%2» — не флаг (флаг — одна или две буквы)</translation>
    </message>
    <message>
        <source>tag &quot;%1&quot;: unknown flag letter &quot;%2&quot;</source>
        <translation>тег «%1»: неизвестная буква флага «%2»</translation>
    </message>
    <message>
        <source>unknown tag name &quot;%1&quot;</source>
        <translation>неизвестное имя тега «%1»</translation>
    </message>
    <message>
        <source>malformed condition &quot;%1&quot;</source>
        <translation>неверно записанное условие «%1»</translation>
    </message>
    <message>
        <source>unknown tag name &quot;%1&quot; in a condition</source>
        <translation>неизвестное имя тега «%1» в условии</translation>
    </message>
    <message>
        <source>condition end &quot;%1&quot; without its start</source>
        <translation>конец условия «%1» без его начала</translation>
    </message>
    <message>
        <source>condition &quot;%1&quot; has no end</source>
        <translation>у условия «%1» нет конца</translation>
    </message>
    <message>
        <source>repeated block without indexed tags: it never shows</source>
        <translation>повторяемый блок без индексированных тегов: он никогда не выводится</translation>
    </message>
    <message>
        <source>tag &quot;%1&quot;: its value holds %2 character(s) a DOCX document cannot hold, such as control characters; the document leaves them out</source>
        <translation>тег «%1»: в значении есть символы, которые документ DOCX хранить не может (например, управляющие), — %2; в документ они не попадут</translation>
    </message>
    <message>
        <source>picture described &quot;%1&quot; names no picture of the evaluation (photo-N.jpg, graphic-N.jpg, appraiserLogo-N.jpg): the template&apos;s own image stays</source>
        <translation>описание рисунка «%1» не называет ни одного изображения оценки (photo-N.jpg, graphic-N.jpg, appraiserLogo-N.jpg): останется изображение из шаблона</translation>
    </message>
    <message>
        <source>picture described &quot;%1&quot; is linked to a file outside the template: the evaluation cannot fill it, so it is removed</source>
        <translation>рисунок «%1» связан с файлом вне шаблона: оценка не может его заполнить, и он будет удалён</translation>
    </message>
    <message>
        <source>picture described &quot;%1&quot; shows %2, which the relationships of its part do not name: it is removed</source>
        <translation>рисунок «%1» показывает %2, которого нет в связях его части: он будет удалён</translation>
    </message>
    <message>
        <source>picture described &quot;%1&quot; is stored as %2, a format pictures cannot be written in: it is removed</source>
        <translation>рисунок «%1» хранится как %2 — в этом формате изображения записать нельзя: он будет удалён</translation>
    </message>
    <message>
        <source>not a %1 template: it is not a zip archive</source>
        <translation>это не шаблон %1: файл не является zip-архивом</translation>
    </message>
</context>
<context>
    <name>TemplateToDocument</name>
    <message>
        <source>the document&apos;s text would grow past %1 characters</source>
        <translation>текст документа превысил бы %1 символов</translation>
    </message>
    <message>
        <source>a repeated block has more than %1 items, so the document would lack some: &quot;%2&quot;</source>
        <translation>в повторяемом блоке больше %1 элементов, и часть не попала бы в документ: «%2»</translation>
    </message>
    <message numerus="yes">
        <source>%n problem(s) in the template, the first at %1:%2: %3</source>
        <translation>
            <numerusform>%n проблема в шаблоне, первая — %1:%2: %3</numerusform>
            <numerusform>%n проблемы в шаблоне, первая — %1:%2: %3</numerusform>
            <numerusform>%n проблем в шаблоне, первая — %1:%2: %3</numerusform>
        </translation>
    </message>
    <message>
        <source>Unable to load the meta tags: %1</source>
        <translation>Не удаётся загрузить метатеги: %1</translation>
    </message>
    <message>
        <source>Unable write to document %1</source>
        <translation>Не удаётся записать документ %1</translation>
    </message>
    <message>
        <source>Unable read from template %1</source>
        <translation>Не удаётся прочитать шаблон %1</translation>
    </message>
</context>
<context>
    <name>TemplateToZipDocument</name>
    <message>
        <source>it is not a zip archive</source>
        <translation>это не zip-архив</translation>
    </message>
    <message>
        <source>%1 is not well-formed XML: %2</source>
        <translation>%1 — некорректный XML: %2</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MiB</source>
        <translation>%1 больше %2 МиБ</translation>
    </message>
    <message>
        <source>%1 cannot be read from the archive</source>
        <translation>не удаётся прочитать %1 из архива</translation>
    </message>
    <message>
        <source>%1 is damaged or larger than %2 MiB</source>
        <translation>%1 повреждён или больше %2 МиБ</translation>
    </message>
    <message>
        <source>%1 is not in UTF-8 or UTF-16</source>
        <translation>%1 не в кодировке UTF-8 или UTF-16</translation>
    </message>
</context>
<context>
    <name>TemplatesToDocumentsBatch</name>
    <message>
        <source>The document folder %1 is a symbolic link; documents are not written through it</source>
        <translation>Папка документов %1 — символическая ссылка; документы через неё не записываются</translation>
    </message>
</context>
<context>
    <name>VehicleCatalogSource</name>
    <message>
        <source>Vehicles</source>
        <translation>Транспортные средства</translation>
    </message>
</context>
<context>
    <name>VehicleXmlHandler</name>
    <message>
        <source>vehicle type</source>
        <translation>тип ТС</translation>
    </message>
    <message>
        <source>brand</source>
        <translation>марка</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names %2 %3, which the catalog does not hold</source>
        <translation>«%1» ссылается на %2 %3 — в справочнике такой записи нет</translation>
    </message>
</context>
<context>
    <name>ZipWriter</name>
    <message>
        <source>the document would pass the 4 GiB or 65 535 entries a zip archive can hold</source>
        <translation>документ превысил бы предел zip-архива: 4 ГиБ или 65 535 файлов</translation>
    </message>
</context>
<context>
    <name>zentavo</name>
    <message>
        <source>not an amount: &quot;%1&quot;</source>
        <translation>не сумма: «%1»</translation>
    </message>
    <message>
        <source>Writes an amount in words, as contracts write it.</source>
        <translation>Пишет сумму прописью, как в договорах.</translation>
    </message>
    <message>
        <source>Shows an amount as a report tag with these flag letters shows it (R in words, T rounded, ...).</source>
        <translation>Показывает сумму так, как её выводит тег отчёта с этими флагами (R — прописью, T — с округлением, …).</translation>
    </message>
    <message>
        <source>%1: %2 row(s) added, %3 changed</source>
        <translation>%1: добавлено строк: %2, изменено: %3</translation>
    </message>
    <message>
        <source>, %1 no longer delivered (kept)</source>
        <translation>, больше не поставляются (оставлены): %1</translation>
    </message>
    <message>
        <source>, %1 line(s) skipped</source>
        <translation>, пропущено строк: %1</translation>
    </message>
    <message>
        <source>Refreshes the named catalog (all three when none is named) from the network.</source>
        <translation>Обновляет названный справочник из сети (если не назван ни один — все три).</translation>
    </message>
    <message>
        <source>sends the requests to another scheme://host:port</source>
        <translation>отправляет запросы на другой адрес схема://хост:порт</translation>
    </message>
    <message>
        <source>not a server URL: &quot;%1&quot;</source>
        <translation>не адрес сервера: «%1»</translation>
    </message>
    <message>
        <source>no catalog &quot;%1&quot;</source>
        <translation>нет справочника «%1»</translation>
    </message>
    <message>
        <source>Imports a bank directory archive (RBC&apos;s zipped lists) from disk.</source>
        <translation>Загружает архив справочника банков (списки RBC в zip) с диска.</translation>
    </message>
    <message>
        <source>Importing %1</source>
        <translation>Загрузка %1</translation>
    </message>
    <message>
        <source>Bank directory &quot;%1&quot; refused</source>
        <translation>Справочник банков «%1» отклонён</translation>
    </message>
    <message>
        <source>Banks in the directory: %1</source>
        <translation>Банков в справочнике: %1</translation>
    </message>
    <message>
        <source>(no value)</source>
        <translation>(нет значения)</translation>
    </message>
    <message>
        <source>Lists every tag, meta tag and condition of a template with its place, and the errors that would spoil a report; with an evaluation, each tag&apos;s value. Exits with 1 when it finds an error.</source>
        <translation>Перечисляет все теги, метатеги и условия шаблона с их местом и ошибки, которые испортили бы отчёт; с файлом оценки — и значение каждого тега. Если найдена ошибка, завершается с кодом 1.</translation>
    </message>
    <message>
        <source>not a template</source>
        <translation>это не шаблон</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>repaired in the report: %1</source>
        <translation>в отчёте будет исправлено: %1</translation>
    </message>
    <message>
        <source>error: %1: %2</source>
        <translation>ошибка: %1: %2</translation>
    </message>
    <message>
        <source>warning: %1: %2</source>
        <translation>предупреждение: %1: %2</translation>
    </message>
    <message>
        <source>%1: %2 error(s)</source>
        <translation>%1: ошибок: %2</translation>
    </message>
    <message>
        <source>shows this text</source>
        <translation>показывает эту справку</translation>
    </message>
    <message>
        <source>arguments missing</source>
        <translation>не хватает аргументов</translation>
    </message>
    <message>
        <source>more arguments needed</source>
        <translation>нужно больше аргументов</translation>
    </message>
    <message>
        <source>unexpected argument &quot;%1&quot;</source>
        <translation>лишний аргумент «%1»</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is followed by &quot;%2&quot;</source>
        <translation>после «%1» должно идти «%2»</translation>
    </message>
    <message>
        <source>%1; usage: %2 (zentavo %3 --help says more)</source>
        <translation>%1; использование: %2 (подробнее: zentavo %3 --help)</translation>
    </message>
    <message>
        <source>usage: %1

%2

options:
</source>
        <translation>использование: %1

%2

параметры:
</translation>
    </message>
    <message>
        <source>Stores a picture as the logo of the appraisal company of the evaluation&apos;s first appraiser, in the catalog database, where reports find it.</source>
        <translation>Сохраняет рисунок как логотип оценочной компании первого оценщика оценки в базе справочников, откуда его берут отчёты.</translation>
    </message>
    <message>
        <source>%1 names no appraiser</source>
        <translation>в %1 не указан оценщик</translation>
    </message>
    <message>
        <source>%1: not a picture</source>
        <translation>%1: это не изображение</translation>
    </message>
    <message>
        <source>%1: the appraisal company has no taxpayer number, by which reports find its logo</source>
        <translation>%1: у оценочной компании нет ИНН, а по нему отчёты находят её логотип</translation>
    </message>
    <message>
        <source>the catalog database cannot be read</source>
        <translation>не удаётся прочитать базу справочников</translation>
    </message>
    <message>
        <source>the catalog database refused the company</source>
        <translation>база справочников не приняла компанию</translation>
    </message>
    <message>
        <source>logo stored for the appraisal company of %1</source>
        <translation>логотип оценочной компании из %1 сохранён</translation>
    </message>
    <message>
        <source>above -100</source>
        <translation>больше -100</translation>
    </message>
    <message>
        <source>from 0 to 100</source>
        <translation>от 0 до 100</translation>
    </message>
    <message>
        <source>%1: the tag list cannot be read</source>
        <translation>%1: не удаётся прочитать список тегов</translation>
    </message>
    <message>
        <source>no tag &quot;%1&quot; in this evaluation</source>
        <translation>в этой оценке нет тега «%1»</translation>
    </message>
    <message>
        <source>%1:%2: not NAME=VALUE: &quot;%3&quot;</source>
        <translation>%1:%2: строка не вида ИМЯ=ЗНАЧЕНИЕ: «%3»</translation>
    </message>
    <message>
        <source>not NAME=VALUE: &quot;%1&quot;</source>
        <translation>не вида ИМЯ=ЗНАЧЕНИЕ: «%1»</translation>
    </message>
    <message>
        <source>Lists the tags an evaluation file stores, as it stores them; with names, resolves them as a template would, flags included (СТОИМОСТЬ_УСЛУГ#R).</source>
        <translation>Выводит теги, хранящиеся в файле оценки, в том виде, в каком они хранятся; с именами тегов — вычисляет их так же, как шаблон, с учётом флагов (СТОИМОСТЬ_УСЛУГ#R).</translation>
    </message>
    <message>
        <source>Sets tags of an evaluation file, creating the file when there is none. Numbers and dates are taken as people type them; nothing is saved when a tag would not be kept.</source>
        <translation>Задаёт теги в файле оценки и создаёт файл, если его нет. Числа и даты принимаются в привычной записи; если какой-то тег файл не сохранит, не сохраняется ничего.</translation>
    </message>
    <message>
        <source>reads NAME=VALUE lines from a file first</source>
        <translation>сначала читает строки ИМЯ=ЗНАЧЕНИЕ из файла</translation>
    </message>
    <message>
        <source>no NAME=VALUE given</source>
        <translation>не указано ни одного ИМЯ=ЗНАЧЕНИЕ</translation>
    </message>
    <message>
        <source>%1: %2 tag(s) set</source>
        <translation>%1: задано тегов: %2</translation>
    </message>
    <message>
        <source>Adds photos to an evaluation file that exists. JPEG files are kept byte for byte, other pictures are stored as JPEG.</source>
        <translation>Добавляет фотографии в существующий файл оценки. Файлы JPEG сохраняются без изменений, остальные изображения — в формате JPEG.</translation>
    </message>
    <message>
        <source>%1: %2 photo(s), %3 added</source>
        <translation>%1: фотографий: %2, добавлено: %3</translation>
    </message>
    <message>
        <source>its documents would go to %1, the folder of %2 in this render (same agreement number, vehicle and plate); nothing written</source>
        <translation>её документы попали бы в %1 — папку оценки %2 в этом же запуске (тот же номер договора, ТС и госномер); ничего не записано</translation>
    </message>
    <message>
        <source>not an amount of rubles</source>
        <translation>не сумма в рублях</translation>
    </message>
    <message>
        <source>not a percentage</source>
        <translation>не процент</translation>
    </message>
    <message>
        <source>a percentage %1 is needed</source>
        <translation>нужен процент %1</translation>
    </message>
    <message>
        <source>not an amount of rubles with at most two decimals</source>
        <translation>не сумма в рублях с не более чем двумя знаками после запятой</translation>
    </message>
    <message>
        <source>%1: no such file</source>
        <translation>%1: файл не найден</translation>
    </message>
    <message>
        <source>%1: not a readable file</source>
        <translation>%1: файл не читается</translation>
    </message>
    <message>
        <source>%1: not an evaluation file, or a damaged one</source>
        <translation>%1: это не файл оценки или он повреждён</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is refused: %3</source>
        <translation>%1: значение «%2» не принято: %3</translation>
    </message>
    <message>
        <source>nothing saved: an evaluation file does not keep %1 (an unknown tag, or a value not of its form)</source>
        <translation>ничего не сохранено: файл оценки не сохранит %1 (неизвестный тег или значение не того вида)</translation>
    </message>
    <message>
        <source>usage:</source>
        <translation>использование:</translation>
    </message>
    <message>
        <source>zentavo COMMAND --help (or zentavo help COMMAND) says more of a command.</source>
        <translation>Подробнее о команде: zentavo КОМАНДА --help (или zentavo help КОМАНДА).</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;; zentavo --help lists the commands</source>
        <translation>неизвестная команда «%1»; список команд: zentavo --help</translation>
    </message>
    <message>
        <source>internal error: %1</source>
        <translation>внутренняя ошибка: %1</translation>
    </message>
    <message>
        <source>--pdf needs LibreOffice, and its soffice command is not installed (Debian: apt-get install libreoffice-writer-nogui); nothing rendered</source>
        <translation>для --pdf нужен LibreOffice, а его команда soffice не установлена (Debian: apt-get install libreoffice-writer-nogui); документы не сформированы</translation>
    </message>
    <message>
        <source>ZENTAVO_SOFFICE names &quot;%1&quot;, which is no program that can be run; nothing rendered</source>
        <translation>ZENTAVO_SOFFICE указывает на «%1», но это не исполняемая программа; документы не сформированы</translation>
    </message>
    <message>
        <source>%1: no PDF made: no temporary folder: %2</source>
        <translation>%1: PDF не создан: нет временной папки: %2</translation>
    </message>
    <message>
        <source>%1: no PDF made: %2</source>
        <translation>%1: PDF не создан: %2</translation>
    </message>
    <message>
        <source>LibreOffice (%1) cannot be started: %2</source>
        <translation>не удаётся запустить LibreOffice (%1): %2</translation>
    </message>
    <message>
        <source>LibreOffice did not finish within %1 minutes</source>
        <translation>LibreOffice не закончил работу за %1 мин</translation>
    </message>
    <message>
        <source>LibreOffice crashed</source>
        <translation>LibreOffice аварийно завершился</translation>
    </message>
    <message>
        <source>LibreOffice crashed: %1</source>
        <translation>LibreOffice аварийно завершился: %1</translation>
    </message>
    <message>
        <source>LibreOffice ended with exit code %1</source>
        <translation>LibreOffice завершился с кодом %1</translation>
    </message>
    <message>
        <source>LibreOffice: %1</source>
        <translation>LibreOffice: %1</translation>
    </message>
    <message>
        <source>%1: LibreOffice made no PDF of it</source>
        <translation>%1: LibreOffice не сделал из него PDF</translation>
    </message>
    <message>
        <source>%1: LibreOffice made no PDF of it: %2</source>
        <translation>%1: LibreOffice не сделал из него PDF: %2</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>прервано</translation>
    </message>
    <message>
        <source>the template list %1 cannot be fetched: %2</source>
        <translation>не удаётся загрузить список шаблонов %1: %2</translation>
    </message>
    <message>
        <source>no template &quot;%1&quot; in %2</source>
        <translation>в %2 нет шаблона «%1»</translation>
    </message>
    <message>
        <source>no temporary folder for the templates: %1</source>
        <translation>нет временной папки для шаблонов: %1</translation>
    </message>
    <message>
        <source>the meta tags cannot be fetched: %1</source>
        <translation>не удаётся загрузить метатеги: %1</translation>
    </message>
    <message>
        <source>the template list %1 names &quot;%2&quot;, which is not a file name</source>
        <translation>в списке шаблонов %1 указано «%2», а это не имя файла</translation>
    </message>
    <message>
        <source>the template %1 cannot be fetched: %2</source>
        <translation>не удаётся загрузить шаблон %1: %2</translation>
    </message>
    <message>
        <source>cannot keep it in %1: %2</source>
        <translation>не удаётся сохранить его в %1: %2</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>не удаётся создать папку %1</translation>
    </message>
    <message>
        <source>the template folder, or the URL of a template server&apos;s list</source>
        <translation>папка шаблонов или адрес списка шаблонов на сервере</translation>
    </message>
    <message>
        <source>where the document folders go</source>
        <translation>куда помещать папки документов</translation>
    </message>
    <message>
        <source>only these templates; several names ending in .docx, .txt or .odt may follow one --only</source>
        <translation>только эти шаблоны; после одного --only можно перечислить несколько имён на .docx, .txt или .odt</translation>
    </message>
    <message>
        <source>replaces documents that exist</source>
        <translation>заменяет существующие документы</translation>
    </message>
    <message>
        <source>renders in N worker processes at once</source>
        <translation>формирует документы в N параллельных процессах</translation>
    </message>
    <message>
        <source>also a PDF of every document, made by LibreOffice (or the program ZENTAVO_SOFFICE names)</source>
        <translation>также PDF каждого документа, через LibreOffice (или программу из ZENTAVO_SOFFICE)</translation>
    </message>
    <message>
        <source>a finding of the template check fails the render</source>
        <translation>любая находка проверки шаблонов — ошибка, документы не формируются</translation>
    </message>
    <message>
        <source>renders only share K of N (K from 0 to N-1), chosen by each evaluation&apos;s absolute path, so N machines given the same evaluations render each once</source>
        <translation>формирует только долю K из N (K от 0 до N-1), выбранную по абсолютному пути каждой оценки, так что N машин с одним и тем же списком оценок обработают каждую ровно один раз</translation>
    </message>
    <message>
        <source>writes what was written, kept and failed to FILE as JSON, however the render ends</source>
        <translation>записывает в FILE в формате JSON, что записано, сохранено и не удалось, чем бы ни закончилась работа</translation>
    </message>
    <message>
        <source>renders the evaluations named on standard input, for a parent render</source>
        <translation>формирует документы оценок, названных на стандартном вводе, для родительского процесса</translation>
    </message>
    <message>
        <source>--jobs takes a number of 1 or more, not &quot;%1&quot;</source>
        <translation>--jobs принимает число от 1, а не «%1»</translation>
    </message>
    <message>
        <source>no evaluation named</source>
        <translation>не указано ни одной оценки</translation>
    </message>
    <message>
        <source>--templates missing</source>
        <translation>не указан --templates</translation>
    </message>
    <message>
        <source>--out missing</source>
        <translation>не указан --out</translation>
    </message>
    <message>
        <source>%1: no such template folder</source>
        <translation>%1: папка шаблонов не найдена</translation>
    </message>
    <message>
        <source>%1; the documents are written without catalog names and company logos</source>
        <translation>%1; документы будут записаны без наименований из справочников и без логотипов компаний</translation>
    </message>
    <message>
        <source>%1 problem(s) in the templates; with --strict nothing is rendered</source>
        <translation>проблем в шаблонах: %1; с --strict документы не формируются</translation>
    </message>
    <message>
        <source>%1 is named more than once; it is rendered once</source>
        <translation>%1 указан несколько раз; документы по нему формируются один раз</translation>
    </message>
    <message>
        <source>%1 PDF(s) written beside the documents</source>
        <translation>PDF записано рядом с документами: %1</translation>
    </message>
    <message>
        <source>interrupted by %1 while making PDFs</source>
        <translation>прервано сигналом %1 при создании PDF</translation>
    </message>
    <message>
        <source>%1 document(s) without their PDF; see above</source>
        <translation>документов без PDF: %1; см. выше</translation>
    </message>
    <message>
        <source>FAILED  </source>
        <translation>ОШИБКА  </translation>
    </message>
    <message>
        <source>NOT FINISHED  </source>
        <translation>НЕ ЗАВЕРШЕНО  </translation>
    </message>
    <message>
        <source>%1 (interrupted)</source>
        <translation>%1 (прервано)</translation>
    </message>
    <message>
        <source>%1 -&gt; %2</source>
        <translation>%1 -&gt; %2</translation>
    </message>
    <message>
        <source>%1 (exists, kept; --overwrite replaces it)</source>
        <translation>%1 (уже есть, сохранён; --overwrite заменит его)</translation>
    </message>
    <message>
        <source>a worker process: %1</source>
        <translation>рабочий процесс: %1</translation>
    </message>
    <message>
        <source>%1 document(s) written, %2 kept, %3 of %4 evaluation(s) failed</source>
        <translation>записано документов: %1, сохранено прежних: %2, не удалось оценок: %3 из %4</translation>
    </message>
    <message>
        <source>, %1 not finished</source>
        <translation>, не завершено: %1</translation>
    </message>
    <message>
        <source>interrupted by %1; %2 evaluation(s) not finished, the documents listed above are written</source>
        <translation>прервано сигналом %1; не завершено оценок: %2, документы из списка выше записаны</translation>
    </message>
    <message>
        <source>%1 evaluation(s) failed; see above</source>
        <translation>не удалось оценок: %1; см. выше</translation>
    </message>
    <message>
        <source>share %1/%2: %3 of the %4 evaluation(s) given</source>
        <translation>доля %1/%2: оценок %3 из %4 указанных</translation>
    </message>
    <message>
        <source>interrupted by %1; nothing rendered</source>
        <translation>прервано сигналом %1; документы не сформированы</translation>
    </message>
    <message>
        <source>%1: the template list cannot be read</source>
        <translation>%1: не удаётся прочитать список шаблонов</translation>
    </message>
    <message>
        <source>the summary is not written: %1</source>
        <translation>итог не записан: %1</translation>
    </message>
    <message>
        <source>not a request of the render: &quot;%1&quot;</source>
        <translation>это не запрос на формирование документов: «%1»</translation>
    </message>
    <message>
        <source>interrupted by %1</source>
        <translation>прервано сигналом %1</translation>
    </message>
    <message>
        <source>the render ended before the folder %1 was granted</source>
        <translation>работа завершилась раньше, чем была выделена папка %1</translation>
    </message>
    <message>
        <source>--shard takes K/N, two whole numbers such as 0/4, not &quot;%1&quot;</source>
        <translation>--shard принимает K/N — два целых числа, например 0/4, а не «%1»</translation>
    </message>
    <message>
        <source>--shard %1: the number of shares must be 1 or more</source>
        <translation>--shard %1: число долей должно быть не меньше 1</translation>
    </message>
    <message>
        <source>--shard %1: shares are numbered from 0 to %2</source>
        <translation>--shard %1: доли нумеруются от 0 до %2</translation>
    </message>
    <message>
        <source>%1: %2 more finding(s); zentavo check lists them all</source>
        <translation>%1: ещё находок: %2; полный список выведет zentavo check</translation>
    </message>
    <message>
        <source>the worker process cannot be started: %1</source>
        <translation>не удаётся запустить рабочий процесс: %1</translation>
    </message>
    <message>
        <source>the worker process was interrupted by %1</source>
        <translation>рабочий процесс прерван сигналом %1</translation>
    </message>
    <message>
        <source>the worker process crashed</source>
        <translation>рабочий процесс аварийно завершился</translation>
    </message>
    <message>
        <source>the worker process crashed: %1</source>
        <translation>рабочий процесс аварийно завершился: %1</translation>
    </message>
    <message>
        <source>the worker process ended with exit code %1</source>
        <translation>рабочий процесс завершился с кодом %1</translation>
    </message>
    <message>
        <source>the worker process ended before it was done</source>
        <translation>рабочий процесс завершился, не закончив работу</translation>
    </message>
    <message>
        <source>%1: no PDF made: its PDF would be %2, made for another document</source>
        <translation>%1: PDF не создан: его PDF был бы %2, а этот файл уже сделан для другого документа</translation>
    </message>
    <message>
        <source>%1: no PDF made: it cannot be copied for the converter</source>
        <translation>%1: PDF не создан: не удаётся скопировать документ для конвертера</translation>
    </message>
    <message>
        <source>no .docx, .odt or .txt templates in %1</source>
        <translation>в %1 нет шаблонов .docx, .odt или .txt</translation>
    </message>
    <message>
        <source>Renders every .docx, .odt and .txt template for each evaluation into OUT/&lt;agreement number&gt;-&lt;brand&gt; &lt;model&gt;-&lt;plate&gt;/, each document under its template&apos;s name. Documents that exist are kept unless --overwrite. Ctrl-C stops after the document in hand and lists what was written.</source>
        <translation>Формирует по каждому шаблону .docx, .odt и .txt документ для каждой оценки в папке OUT/&lt;номер договора&gt;-&lt;марка&gt; &lt;модель&gt;-&lt;госномер&gt;/, под именем шаблона. Существующие документы сохраняются, если не указан --overwrite. Ctrl-C останавливает работу после текущего документа и выводит список записанного.</translation>
    </message>
</context>
</TS>
